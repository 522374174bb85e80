#pragma once

#include <memory>
#include <string>

#include "host/Buttons.h"
#include "host/Classes.h"
#include "host/Dialogs.h"
#include "host/EditCtrls.h"
#include "host/Forms.h"
#include "host/ListCtrls.h"
#include "host/Menus.h"
#include "host/StdCtrls.h"
#include "host/Strings.h"
#include "host/TabCtrls.h"
#include "ide/ClassProperty.h"
#include "runtime/Words.h"

namespace mebrox::Wrddef {

// The frames and wave players the words editor offers, found among the forms that exist now.

// The names of the forms on the screen whose class name begins with "TForm" (TForm1, TFormIntro
// and TForm itself, not TMainForm), in screen order.
std::unique_ptr<host::TStringList> GetFormNames();
// The names of the "TWavePlay" components owned by the component's owner, which must be a form:
// anything else fails with EInvalidCast.
std::unique_ptr<host::TStringList> GetWaveComponents(host::TComponent* component);

}  // namespace mebrox::Wrddef

namespace mebrox {

class THyperTxt;

// The "Word List Dialog": words selected in a hypertext control's text become its hot words,
// and a panel folded out below gives each hot word its action. It edits the list FHotWords
// points to; the property editor hands it a copy of the control's words.
class TWordSelectDlg : public host::TForm {
 public:
  explicit TWordSelectDlg(host::TComponent* owner);

  static constexpr const char* OpenActionsCaption = "Open Actions";
  static constexpr const char* CloseActionsCaption = "Close Actions";

  // The dialog's height with the action panel folded in (below the buttons) and out.
  int CompactHeight() const { return FCompactHeight; }
  int ExpandedHeight() const { return FExpandedHeight; }
  // Whether the action panel is folded out; the extender's caption tells.
  bool ActionsOpen() const;
  // The hot word the panel shows, or showed last.
  int CurrentWord() const { return FCurrentWord; }

  // Include, exclude and the extender are usable only when they have something to act on.
  void RefreshButtons();
  // Writes what the designer changed in the panel into the current word.
  void UpdateWordData();
  // Shows the current word's action in the panel.
  void RestoreData();

  host::TLabel* SrcLabel;
  host::TMemo* SrcTxt;
  host::TLabel* DstLabel;
  host::TListBox* DstList;
  host::TSpeedButton* IncludeBtn;
  host::TSpeedButton* ExcludeBtn;
  host::TSpeedButton* ExcludeAllBtn;
  host::TBitBtn* OKBtn;
  host::TBitBtn* CancelBtn;
  host::TBitBtn* bbExtender;
  host::TGroupBox* GroupBox1;
  host::TLabel* Label7;
  host::TComboBox* cbAction;
  // How much of its room the description or program path takes, and that a change too long
  // for it was not taken.
  host::TLabel* Label8;
  host::TNotebook* Notebook1;
  host::TMemo* mDesc;
  host::TComboBox* cbFrameList;
  host::TComboBox* cbWaveList;
  host::TEdit* txFileName;
  host::TSpeedButton* SpeedButton1;
  host::TComboBox* cbLinesList;
  host::TPopupMenu* PopupMenu1;
  host::TMenuItem* Save1;
  host::TMenuItem* Load1;
  host::TOpenDialog* OpenDialog1;
  host::TSaveDialog* SaveDialog1;

 private:
  friend class TWordsProperty;

  void BindEvents();
  void AutoInitialize();

  void IncludeBtnClick();
  void ExcludeBtnClick();
  void ExcludeAllBtnClick();
  void RemoveFromData(int index);
  static int GetFirstSelection(const host::TListBox& list);
  void bbExtenderClick();
  void FoldOut();
  void FoldIn();
  void DstListClick();
  void cbActionChange();
  void mDescChange() { FDescChanged = true; }
  // Shows in Label8 how much of the entry's data the page's text takes; refused: that the
  // designer's last change would not fit.
  void ShowRoom(bool refused);
  void SpeedButton1Click();
  void Save1Click();
  void Load1Click();

  // The word the selection in SrcTxt makes; "" when it makes none, with refusal saying why.
  std::string SelectedWord(std::string& refusal) const;
  // DstList again from FHotWords, one item per word.
  void ShowWords();
  // Clears the panel and shows word index in it.
  void ShowWord(int index);
  // What the panel holds for action code action.
  std::string ActionData(int action) const;
  void SetExtenderGlyph(const std::string& bitmapName);

  TWords* FHotWords = nullptr;
  // Where a program picked for a hot word is taken into (the current directory until set).
  std::string FProjectFolder;
  int FWordTabWidth = 0;
  int FCurrentWord = 0;
  bool FDescChanged = false;
  // The designer chose another action, frame, wave, program or text file since the panel
  // last showed or wrote the word.
  bool FActionChanged = false;
  int FCompactHeight = 0;
  int FExpandedHeight = 0;
};

// The editor of a hypertext control's Words: opens the "Word List Dialog" on the words and
// stores them back when the designer accepts.
class TWordsProperty : public ide::TClassProperty {
 public:
  using ide::TClassProperty::TClassProperty;
  ide::TPropertyAttributes GetAttributes() const override;
  void Edit() override;
  // Puts the control's text and words into the dialog.
  void RestoreValues(TWordSelectDlg& dialog, const host::TStrings& lines) const;

 private:
  // The first selected component; anything but a hypertext control fails with EInvalidCast.
  THyperTxt& EditedText() const;
};

}  // namespace mebrox
