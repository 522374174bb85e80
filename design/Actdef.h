#pragma once

#include <memory>
#include <string>

#include "host/Buttons.h"
#include "host/Controls.h"
#include "host/Dialogs.h"
#include "host/EditCtrls.h"
#include "host/ExtCtrls.h"
#include "host/Forms.h"
#include "host/ListCtrls.h"
#include "host/StdCtrls.h"
#include "host/Strings.h"
#include "host/TabCtrls.h"
#include "ide/ClassProperty.h"
#include "ide/ToolIntf.h"
#include "runtime/Action.h"

namespace mebrox::Actdef {

// The frames and wave players the Action editor and wizard offer, found in the project's unit
// files on disk.

// The form declared in a unit source file: on the first line holding "(TForm)", the first
// blank-delimited token after leading spaces, without its first character; empty when no line
// holds it. A file that cannot be read fails with EInOutError naming it.
std::string GetFormName(const std::string& fileName);
// One entry per ".pas" unit of the project of those services (the extension in any case), in the
// IDE's unit order, read from the source the IDE holds for a unit not saved yet; empty without
// services.
std::unique_ptr<host::TStringList> GetFormNames(ide::TIToolServices* services);
// The names of the "TWavePlay" components of the form holding the control, in component order;
// empty when no form holds it.
std::unique_ptr<host::TStringList> GetWaveComponents(host::TControl* control);
// The names of the components of form whose class name is exactly "TWavePlay", in component
// order: a class derived from the player under another name is no player here.
std::unique_ptr<host::TStringList> GetFormWaveComponents(const host::TComponent& form);

}  // namespace mebrox::Actdef

namespace mebrox {

// The action types the wizard has chosen: one at a time, none at first.
using TActions = host::TSet<TActionAttrs>;
// What a new frame holds.
enum TMMDlgAttrs { acPicture, acAudio, acVideo };
using TMMDialog = host::TSet<TMMDlgAttrs>;

// The "Action Definition" wizard: the first page picks an action type, a second page (chosen by
// the type) its data, and "&Create" finishes. It edits the component's own action while it is
// open; Cancel restores the action as it was. It also makes new frames (a unit and its form)
// for the project.
class TActDefDlg : public host::TForm {
 public:
  explicit TActDefDlg(host::TComponent* owner);

  enum TPage { pgSelect, pgNewFrame, pgExistingFrame, pgExecute, pgPlayWave, pgDesc };

  // Takes the action to edit and remembers its values for Cancel.
  void SetEditorAction(TAction* action);
  void SetEditComponent(host::TComponent* component) { FEditComponent = component; }
  // The project new frames join and programs are taken into; none until set.
  void SetToolServices(ide::TIToolServices* services) { FToolServices = services; }
  // Shows the action: its type on the first page and its data on the type's page.
  void ReStoreValues();
  void RefreshButtons();
  // Puts back the values the action had when the wizard received it.
  void RestoreSavedAction();
  int PageIndex() const;
  TActions ActionSet() const { return FActionSet; }
  TMMDialog MediaSet() const { return FMediaSet; }

  // A new frame for the project: the unit the IDE proposes, with its source and form; returns
  // the new form's name, or "" when nothing was made (no project, no name, a refusal).
  std::string CreateFrame();
  // The unit text of a new frame, CR LF lines.
  std::string CreateSource(const std::string& unitIdent, const std::string& formIdent) const;
  // The form file text of a new frame.
  std::string CreateForm(const std::string& formIdent) const;
  // The new frame's form, owned by nobody.
  std::unique_ptr<host::TForm> DoFormCreation(const std::string& formIdent) const;

  host::TPaintBox* Sample;
  host::TNotebook* Notebook;
  host::TComboBox* cbActionsList;
  host::TCheckBox* cbPicture;
  host::TCheckBox* cbAudio;
  host::TComboBox* cbFrameList;
  host::TBitBtn* bbNewFrame;
  host::TEdit* txFileName;
  host::TSpeedButton* SpeedButton1;
  host::TEdit* txWorkDir;
  host::TEdit* txParam;
  host::TComboBox* cbWaveList;
  host::TBitBtn* bbPlayWave;
  host::TEdit* txDesc;
  host::TBitBtn* bbCancel;
  host::TBitBtn* PrevButton;
  host::TBitBtn* NextButton;
  host::TOpenDialog* OpenDialog1;

 private:
  void SetActionType(TActionAttrs value);
  void SetFileToRun(const std::string& value);
  void SetWorkDir(const std::string& value);
  void SetParam(const std::string& value);
  void SetWaveComp(const std::string& value);
  void SetFrame(const std::string& value);
  void SetDesc(const std::string& value);

  void cbActionsListChange();
  void NextClick();
  void PrevClick();
  void bbNewFrameClick();
  void MMClick();
  void SpeedButton1Click();
  void bbPlayWaveClick();
  void bbCancelClick();
  void SamplePaint();
  void GoToPage(TPage page);
  void CloseWith(host::TModalResult result);

  TAction* FEditAction = nullptr;
  TAction FSavedAction;
  TActions FActionSet;
  TMMDialog FMediaSet;
  host::TComponent* FEditComponent = nullptr;
  ide::TIToolServices* FToolServices = nullptr;
};

// The editor of a hot image's or hot area's Action: the wizard's button, and the action's own
// properties as sub-entries. On OK the action keeps its type and the one datum the type uses.
class TActionProperty : public ide::TClassProperty {
 public:
  using ide::TClassProperty::TClassProperty;
  ide::TPropertyAttributes GetAttributes() const override;
  void Edit() override;
};

}  // namespace mebrox
