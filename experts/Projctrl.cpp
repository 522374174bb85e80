#include "experts/Projctrl.h"

#include "host/DialogLayout.h"
#include "ide/DesignCore.h"

namespace mebrox {

using host::TComponent;
using host::TForm;

TProjMgtDlg* ProjMgtDlg = nullptr;

namespace {

bool IsCountedFrame(const TForm& form) {
  std::string name = form.ClassName();
  return name.compare(0, 5, "TForm") == 0 || name == "TMainForm";
}

// Calls visit for every counted frame in screen order.
template <class F>
void ForEachFrame(F visit) {
  for (int i = 0; i < host::Screen->FormCount(); ++i)
    if (TForm* form = host::Screen->Forms(i); IsCountedFrame(*form)) visit(*form);
}

bool IsHotComponent(const TComponent* c) {
  return dynamic_cast<const THyperTxt*>(c) || dynamic_cast<const THyperImage*>(c) ||
         dynamic_cast<const TWavePlay*>(c);
}

// Whether object is still a component of an open form: the tree is kept between showings,
// and the designer may have deleted what a node names since.
bool StillOpen(const host::TObject* object) {
  for (int i = 0; i < host::Screen->FormCount(); ++i) {
    TForm* form = host::Screen->Forms(i);
    if (form == object) return true;
    for (const TComponent* c : form->ComponentList())
      if (c == object) return true;
  }
  return false;
}

const char* const ActionTypeTexts[] = {"acFrame",    "acExecute", "acWavePlay", "acDesc",
                                       "acBookMark", "acClose",   "acNone"};

}  // namespace

TProjectCounts CountProject() {
  TProjectCounts counts;
  ForEachFrame([&](TForm& frame) {
    ++counts.Frames;
    for (const TComponent* c : frame.ComponentList()) {
      if (dynamic_cast<const THyperTxt*>(c))
        ++counts.HyperTxts;
      else if (dynamic_cast<const THyperImage*>(c))
        ++counts.HyperImages;
      else if (dynamic_cast<const TWavePlay*>(c))
        ++counts.WavePlays;
    }
  });
  return counts;
}

// ---- TProjCtrlEditor

std::string TProjCtrlEditor::GetVerb(int index) {
  TProjectCounts counts = CountProject();
  switch (index) {
    case 0:
      return "Frame Count      = " + std::to_string(counts.Frames);
    case 1:
      return "  HyperTxt Count   = " + std::to_string(counts.HyperTxts);
    case 2:
      return "  HyperImage Count = " + std::to_string(counts.HyperImages);
    case 3:
      return "  WavePlay Count   = " + std::to_string(counts.WavePlays);
    default:
      return std::string();
  }
}

void TProjCtrlEditor::Edit() {
  ProjMgtDlg = new TProjMgtDlg(host::Application);
  ProjMgtDlg->Show();
}

// ---- TProjMgtDlg

TProjMgtDlg::TProjMgtDlg(TComponent* owner) : TForm(owner) {
  host::TDialogLayout("ProjMgtDlg")
      .Bind("oProjStruct", oProjStruct)
      .Bind("bbExpand", bbExpand)
      .Bind("bbCollapse", bbCollapse)
      .Bind("BitBtn4", BitBtn4)
      .Bind("nbCompType", nbCompType)
      .Bind("mHyperTxtLines", mHyperTxtLines)
      .Bind("lbHyperTxtWordsWordsList", lbHyperTxtWordsWordsList)
      .Bind("eHyperTxtWordAct", eHyperTxtWordAct)
      .Bind("eHyperImageActionType", eHyperImageActionType)
      .Bind("nbHyperImageAction", nbHyperImageAction)
      .Bind("eHyperImageFrame", eHyperImageFrame)
      .Bind("eHyperImageFileToRun", eHyperImageFileToRun)
      .Bind("eHyperImageParam", eHyperImageParam)
      .Bind("eHyperImageWorkDir", eHyperImageWorkDir)
      .Bind("eHyperImageWaveComp", eHyperImageWaveComp)
      .Bind("mHyperImageDesc", mHyperImageDesc)
      .Bind("eWavePlayWaveName", eWavePlayWaveName)
      .Parts("Label", 1, 11)
      .Part("GroupBox1")
      .Load(*this);
  ScratchHyperTxt = new THyperTxt(this);
  ScratchHyperImage = new THyperImage(this);
  ScratchWavePlay = new TWavePlay(this);
  OnShow = [this](host::TObject*) { FormShow(); };
  oProjStruct->OnClick = [this](host::TObject*) { oProjStructClick(); };
  lbHyperTxtWordsWordsList->OnClick = [this](host::TObject*) { lbHyperTxtWordsWordsListClick(); };
  bbExpand->OnClick = [this](host::TObject*) { oProjStruct->FullExpand(); };
  bbCollapse->OnClick = [this](host::TObject*) { oProjStruct->FullCollapse(); };
}

void TProjMgtDlg::FormShow() {
  host::TStringList& lines = oProjStruct->Lines();
  lines.BeginUpdate();
  lines.Clear();
  ForEachFrame([&](TForm& frame) {
    lines.AddObject(frame.Name(), &frame);
    for (TComponent* c : frame.ComponentList())
      if (IsHotComponent(c)) lines.AddObject(" " + c->Name(), c);
  });
  lines.EndUpdate();
  nbCompType->SetActivePage("Blank");
}

void TProjMgtDlg::oProjStructClick() {
  int selected = oProjStruct->SelectedItem();
  if (selected < 1) return;
  host::TObject* object = oProjStruct->Items(selected).Data;
  if (!object || !StillOpen(object)) return;
  std::string className = object->ClassName();
  if (className == "THyperTxt") {
    auto* text = static_cast<THyperTxt*>(object);
    nbCompType->SetActivePage("HyperTxt");
    ScratchHyperTxt->SetLines(text->Lines());
    mHyperTxtLines->SetLines(ScratchHyperTxt->Lines());
    ScratchHyperTxt->SetWords(text->Words());
    host::TStringList& words = lbHyperTxtWordsWordsList->Items();
    words.BeginUpdate();
    words.Clear();
    for (int i = 0; i < ScratchHyperTxt->Words().Count(); ++i)
      words.Add(ScratchHyperTxt->Words().GetWord(i));
    words.EndUpdate();
    eHyperTxtWordAct->Lines().Clear();
  } else if (className == "THyperImage") {
    ShowHyperImage(*static_cast<THyperImage*>(object));
  } else if (className == "TWavePlay") {
    auto* player = static_cast<TWavePlay*>(object);
    nbCompType->SetActivePage("WavePlay");
    ScratchWavePlay->SetWaveName(player->GetWaveName());
    eWavePlayWaveName->SetText(ScratchWavePlay->GetWaveName());
  }
}

void TProjMgtDlg::ShowHyperImage(const THyperImage& image) {
  nbCompType->SetActivePage("HyperImage");
  TAction& action = ScratchHyperImage->Action();
  action.Assign(const_cast<THyperImage&>(image).Action());
  eHyperImageActionType->SetText(ActionTypeTexts[action.ActionType()]);
  switch (action.ActionType()) {
    case acFrame:
      nbHyperImageAction->SetActivePage("acFrame");
      eHyperImageFrame->SetText(action.Frame());
      break;
    case acExecute:
      nbHyperImageAction->SetActivePage("acExecute");
      eHyperImageFileToRun->SetText(action.FileToRun());
      eHyperImageParam->SetText(action.Param());
      eHyperImageWorkDir->SetText(action.WorkDir());
      break;
    case acWavePlay:
      nbHyperImageAction->SetActivePage("acWavePlay");
      eHyperImageWaveComp->SetText(action.WaveComp());
      break;
    case acDesc:
      nbHyperImageAction->SetActivePage("acDesc");
      mHyperImageDesc->Lines().SetText(action.Desc());
      break;
    default:
      nbHyperImageAction->SetActivePage("acExit");
      break;
  }
}

void TProjMgtDlg::lbHyperTxtWordsWordsListClick() {
  eHyperTxtWordAct->Lines().SetText(
      ScratchHyperTxt->Words().GetWordAct(lbHyperTxtWordsWordsList->ItemIndex()));
}

namespace Projctrl {

void Register(ide::TDesignCore& core) {
  ide::TDesignRegistry& registry = core.Registry();
  registry.RegisterComponentEditor<TProjCtrlEditor>(TProjCtrl::StaticClassInfo());
}

}  // namespace Projctrl

}  // namespace mebrox
