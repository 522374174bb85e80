#pragma once

#include <string>

#include "host/Buttons.h"
#include "host/EditCtrls.h"
#include "host/Forms.h"
#include "host/ListCtrls.h"
#include "host/Outline.h"
#include "host/StdCtrls.h"
#include "host/TabCtrls.h"
#include "ide/ComponentEditor.h"
#include "runtime/HyperImg.h"
#include "runtime/HyperTxt.h"
#include "runtime/Projctrl.h"
#include "runtime/WavePly.h"

namespace ide {
class TDesignCore;
}

namespace mebrox {

// The counts of the project as the designer has it open: the frames (forms whose class name
// begins with "TForm", or is "TMainForm"), and on them the hypertext controls, hot images and
// wave players (their descendants too).
struct TProjectCounts {
  int Frames = 0;
  int HyperTxts = 0;
  int HyperImages = 0;
  int WavePlays = 0;
};
TProjectCounts CountProject();

// The project control's editor: four menu lines counting the project, and on a double-click the
// "Project Management" dialog.
class TProjCtrlEditor : public ide::TComponentEditor {
 public:
  using ide::TComponentEditor::TComponentEditor;
  int GetVerbCount() override { return 4; }
  std::string GetVerb(int index) override;
  void ExecuteVerb(int index) override {}
  // Opens another "Project Management" dialog, non-modal.
  void Edit() override;
};

// The open frames with their hot texts, hot images and wave players as a tree, and what the
// selected one holds. Closing only hides it; the tree is built again each time it shows.
class TProjMgtDlg : public host::TForm {
 public:
  explicit TProjMgtDlg(host::TComponent* owner);

  host::TOutline* oProjStruct;
  host::TBitBtn* bbExpand;
  host::TBitBtn* bbCollapse;
  host::TBitBtn* BitBtn4;
  host::TNotebook* nbCompType;
  host::TMemo* mHyperTxtLines;
  host::TListBox* lbHyperTxtWordsWordsList;
  host::TMemo* eHyperTxtWordAct;
  host::TEdit* eHyperImageActionType;
  host::TNotebook* nbHyperImageAction;
  host::TEdit* eHyperImageFrame;
  host::TEdit* eHyperImageFileToRun;
  host::TEdit* eHyperImageParam;
  host::TEdit* eHyperImageWorkDir;
  host::TEdit* eHyperImageWaveComp;
  host::TMemo* mHyperImageDesc;
  host::TEdit* eWavePlayWaveName;

 private:
  void FormShow();
  void oProjStructClick();
  void lbHyperTxtWordsWordsListClick();
  void ShowHyperImage(const THyperImage& image);

  // Copies of what the selected components hold, never shown.
  THyperTxt* ScratchHyperTxt;
  THyperImage* ScratchHyperImage;
  TWavePlay* ScratchWavePlay;
};

// The dialog the last double-click opened.
extern TProjMgtDlg* ProjMgtDlg;

namespace Projctrl {

// Registers the project control's component editor in core.
void Register(ide::TDesignCore& core);

}  // namespace Projctrl

}  // namespace mebrox
