#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/Buttons.h"
#include "host/Dialogs.h"
#include "host/EditCtrls.h"
#include "host/ExtCtrls.h"
#include "host/Forms.h"
#include "host/IniFiles.h"
#include "host/ListCtrls.h"
#include "host/StdCtrls.h"
#include "host/TabCtrls.h"
#include "ide/ExptIntf.h"

namespace ide {
class TDesignCore;
}

namespace mebrox::Compini {

// Registers the Default Settings Expert in core.
void Register(ide::TDesignCore& core);

}  // namespace mebrox::Compini

namespace mebrox {

// The settings image: one variable per key of the six settings sections, in the file's own
// encoding (enumerations as list positions, colours as colour text). The settings dialog fills
// it from the file when it opens and from its controls when confirmed; components never use it,
// they read the file.
extern bool ImageUse, ImageCursorShow, ImageAllowShadow;
extern bool AreaUse, AreaCursorShow;
extern bool TxtUse, TxtFontBold, TxtFontItalic, TxtWordFontBold, TxtWordFontItalic,
    TxtWordFontUnderLine;
extern int TxtAutoAdjust, TxtBrushStyle, TxtFontSize, TxtWordFontSize;
extern std::string TxtBrushColor, TxtFontColor, TxtFontName, TxtWordFontColor, TxtWordFontName;
extern bool WaveUse, WaveAutoPlay, WaveDefault, WaveWait;
extern bool fxLabelUse, fxLabelFontBold, fxLabelFontItalic;
extern int fxLabelEffectType, fxLabelShadowDistance, fxLabelFontSize;
extern std::string fxLabelFontColor, fxLabelShadowColor, fxLabelLightColor, fxLabelFontName;
extern bool DescUse, DescFontBold, DescFontItalic;
extern int DescFontSize;
extern std::string DescFontColor, DescBackgroundColor, DescFontName;

// The IDE expert behind the menu entry "Default Settings Expert": it opens the settings dialog.
class DefaultSettingsExpert : public ide::TStandardExpert {
 public:
  DefaultSettingsExpert()
      : TStandardExpert("Default Settings Expert", "Mebrox.DefaultSettingsExpert") {}
  // Shows the settings dialog modally. A settings file that cannot be read is reported first;
  // the designer may start a fresh one (the old one kept beside it) or leave it as it is, and
  // then the dialog does not open.
  void Execute() override;
};

// "Default Settings Dialog": one page per kind of object with the look new components take from
// the default settings file. Opening it creates whatever part of the file is missing; OK writes
// all six sections, Cancel writes nothing more.
class TINISettingsDlg : public host::TForm {
 public:
  explicit TINISettingsDlg(host::TComponent* owner);
  ~TINISettingsDlg() override;

  host::TNotebook* Notebook;
  host::TTabSet* TabSet;
  host::TBitBtn* OKBtn;
  host::TBitBtn* CancelBtn;
  host::TBitBtn* HelpBtn;
  host::TCheckBox* cbImageUse;
  host::TCheckBox* cbImageCursorShow;
  host::TCheckBox* cbImageAllowShadow;
  host::TCheckBox* cbAreaUse;
  host::TCheckBox* cbAreaCursorShow;
  host::TCheckBox* cbTxtUse;
  host::TComboBox* cmbTxtAutoAdjust;
  host::TComboBox* cmbTxtBrushColor;
  host::TComboBox* cmbTxtBrushStyle;
  host::TBitBtn* bbTextFont;
  host::TBitBtn* bbWordFont;
  host::TCheckBox* cbWaveUse;
  host::TCheckBox* cbWavePlayAutoPlay;
  host::TCheckBox* cbWavePlayDefault;
  host::TCheckBox* cbWavePlayWait;
  host::TCheckBox* cbfxLabelUse;
  host::TComboBox* cmbfxLabelEffectType;
  host::TBitBtn* bbfxLabelFont;
  host::TSpinEdit* sefxLabelShadowDistance;
  host::TComboBox* cmbfxLabelShadowColor;
  host::TComboBox* cmbfxLabelLightColor;
  host::TCheckBox* cbDescUse;
  host::TBitBtn* BitBtn1;
  host::TComboBox* cmbDescBackgroundColor;
  host::TFontDialog* fxLabelFont;
  host::TFontDialog* TxtFont;
  host::TFontDialog* TxtWordFont;
  host::TFontDialog* DescFont;

 private:
  // One section's keys, each tied to its image variable and the control that shows it.
  struct TSectionKeys;

  void FormCreate();
  void TabSetClick();
  void OKBtnClick();
  void HelpBtnClick();
  void FormKeyDown(host::TKey& key, host::TShiftState shift);

  void BindKeys();
  // File to settings image to controls, and back. A value a control cannot show is shown as its
  // default and noted in unreadable.
  void LoadSection(TSectionKeys& section, std::vector<std::string>& unreadable);
  void SaveSection(TSectionKeys& section);

  host::TIniFile FIniFile;
  std::vector<TSectionKeys> FSections;
};

}  // namespace mebrox
