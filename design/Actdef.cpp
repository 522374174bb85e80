#include "design/Actdef.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "design/ProjectAssets.h"
#include "host/DialogLayout.h"
#include "host/FormFile.h"
#include "host/Forms.h"
#include "host/Resources.h"
#include "host/SysUtils.h"
#include "ide/NewProject.h"
#include "ide/ToolIntf.h"
#include "runtime/Strtool.h"
#include "runtime/WavePly.h"

namespace mebrox::Actdef {

namespace {

// The line rule over a unit's text, read from its start.
std::string FormNameIn(std::istream& in) {
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find("(TForm)") == std::string::npos) continue;
    std::string rest = LTrim(line);
    std::string token = GetTokenString(rest, " ");
    return token.substr(1);
  }
  return {};
}

}  // namespace

std::string GetFormName(const std::string& fileName) {
  std::string path = host::NativePath(fileName);
  if (host::DirectoryExists(path))
    throw host::EInOutError("Cannot open file \"" + fileName + "\": is a directory");
  std::ifstream in(path, std::ios::binary);
  if (!in)
    throw host::EInOutError("Cannot open file \"" + fileName + "\": " + std::strerror(errno));
  std::string name = FormNameIn(in);
  if (!name.empty()) return name;
  if (in.bad())
    throw host::EInOutError("Cannot read file \"" + fileName + "\": " + std::strerror(errno));
  return {};
}

std::unique_ptr<host::TStringList> GetFormNames(ide::TIToolServices* services) {
  auto names = std::make_unique<host::TStringList>();
  if (!services) return names;
  // The IDE is asked for one name past the last unit as well; whatever it answers there is
  // skipped unless it is a unit.
  int count = services->GetUnitCount();
  for (int i = 0; i <= count; ++i) {
    std::string unitName = services->GetUnitName(i);
    if (!host::SameText(host::ExtractFileExt(unitName), ".PAS")) continue;
    // A unit made in this session has no file until the project is saved.
    std::string source;
    if (services->GetUnitSource(unitName, source)) {
      std::istringstream in(source);
      names->Add(FormNameIn(in));
    } else {
      names->Add(GetFormName(unitName));
    }
  }
  return names;
}

std::unique_ptr<host::TStringList> GetWaveComponents(host::TControl* control) {
  host::TForm* form = host::GetParentForm(control);
  if (!form) return std::make_unique<host::TStringList>();
  return GetFormWaveComponents(*form);
}

std::unique_ptr<host::TStringList> GetFormWaveComponents(const host::TComponent& form) {
  auto names = std::make_unique<host::TStringList>();
  for (int i = 0; i < form.ComponentCount(); ++i) {
    host::TComponent* component = form.Components(i);
    if (component->ClassName() == "TWavePlay") names->Add(component->Name());
  }
  return names;
}

}  // namespace mebrox::Actdef

namespace mebrox {

namespace fs = std::filesystem;

using host::TComponent;

namespace {

bool FinishesAtOnce(const TActions& set) {
  return set.Contains(acBookMark) || set.Contains(acClose) || set.Contains(acNone);
}

// Selects the item equal to text, ignoring case; none when absent.
void SelectByText(host::TComboBox& box, const std::string& text) {
  box.SetItemIndex(box.Items().IndexOf(text));
  box.SetCaption(box.ItemIndex() >= 0 ? box.Items().Get(box.ItemIndex()) : std::string());
}

void CopyList(host::TStrings& to, const host::TStrings& from) {
  to.Clear();
  to.AddStrings(from);
}

}  // namespace

TActDefDlg::TActDefDlg(TComponent* owner) : host::TForm(owner) {
  host::TDialogLayout("ActDefDlg")
      .Bind("Sample", Sample)
      .Bind("Notebook", Notebook)
      .Bind("cbActionsList", cbActionsList)
      .Bind("cbPicture", cbPicture)
      .Bind("cbAudio", cbAudio)
      .Bind("cbFrameList", cbFrameList)
      .Bind("bbNewFrame", bbNewFrame)
      .Bind("txFileName", txFileName)
      .Bind("SpeedButton1", SpeedButton1)
      .Bind("txWorkDir", txWorkDir)
      .Bind("txParam", txParam)
      .Bind("cbWaveList", cbWaveList)
      .Bind("bbPlayWave", bbPlayWave)
      .Bind("txDesc", txDesc)
      .Bind("bbCancel", bbCancel)
      .Bind("PrevButton", PrevButton)
      .Bind("NextButton", NextButton)
      .Bind("OpenDialog1", OpenDialog1)
      .Parts("Label", 1, 9)
      .Load(*this);
  cbActionsList->OnChange = [this](host::TObject*) { cbActionsListChange(); };
  NextButton->OnClick = [this](host::TObject*) { NextClick(); };
  PrevButton->OnClick = [this](host::TObject*) { PrevClick(); };
  bbNewFrame->OnClick = [this](host::TObject*) { bbNewFrameClick(); };
  cbPicture->OnClick = [this](host::TObject*) { MMClick(); };
  cbAudio->OnClick = [this](host::TObject*) { MMClick(); };
  SpeedButton1->OnClick = [this](host::TObject*) { SpeedButton1Click(); };
  bbPlayWave->OnClick = [this](host::TObject*) { bbPlayWaveClick(); };
  bbCancel->OnClick = [this](host::TObject*) { bbCancelClick(); };
  Sample->OnPaint = [this](host::TObject*) { SamplePaint(); };
  PrevButton->Glyph().SetImage(host::LoadBitmapResource("PREV"));
  // The Cancel button restores the action itself, so it must not close before it has.
  bbCancel->SetModalResult(host::mrNone);
  Notebook->SetPageIndex(pgSelect);
  RefreshButtons();
}

// ---- the action being edited

void TActDefDlg::SetEditorAction(TAction* action) {
  FEditAction = action;
  FSavedAction.Assign(*action);
  SetActionType(action->ActionType());
  SetFileToRun(action->FileToRun());
  SetWorkDir(action->WorkDir());
  SetParam(action->Param());
  SetWaveComp(action->WaveComp());
  SetFrame(action->Frame());
  SetDesc(action->Desc());
}

void TActDefDlg::SetActionType(TActionAttrs value) {
  if (value != FEditAction->ActionType()) FEditAction->SetActionType(value);
}
void TActDefDlg::SetFileToRun(const std::string& value) {
  if (value != FEditAction->FileToRun()) FEditAction->SetFileToRun(value);
}
void TActDefDlg::SetWorkDir(const std::string& value) {
  if (value != FEditAction->WorkDir()) FEditAction->SetWorkDir(value);
}
void TActDefDlg::SetParam(const std::string& value) {
  if (value != FEditAction->Param()) FEditAction->SetParam(value);
}
void TActDefDlg::SetWaveComp(const std::string& value) {
  if (value != FEditAction->WaveComp()) FEditAction->SetWaveComp(value);
}
void TActDefDlg::SetFrame(const std::string& value) {
  if (value != FEditAction->Frame()) FEditAction->SetFrame(value);
}
void TActDefDlg::SetDesc(const std::string& value) {
  if (value != FEditAction->Desc()) FEditAction->SetDesc(value);
}

void TActDefDlg::RestoreSavedAction() {
  SetActionType(FSavedAction.ActionType());
  SetFileToRun(FSavedAction.FileToRun());
  SetWorkDir(FSavedAction.WorkDir());
  SetParam(FSavedAction.Param());
  SetWaveComp(FSavedAction.WaveComp());
  SetFrame(FSavedAction.Frame());
  SetDesc(FSavedAction.Desc());
}

void TActDefDlg::ReStoreValues() {
  cbActionsList->SetItemIndex(static_cast<int>(FEditAction->ActionType()));
  switch (FEditAction->ActionType()) {
    case acFrame:
      SelectByText(*cbFrameList, FEditAction->Frame());
      break;
    case acExecute:
      txFileName->SetText(FEditAction->FileToRun());
      txWorkDir->SetText(FEditAction->WorkDir());
      txParam->SetText(FEditAction->Param());
      break;
    case acWavePlay:
      SelectByText(*cbWaveList, FEditAction->WaveComp());
      break;
    case acDesc:
      txDesc->SetText(FEditAction->Desc());
      break;
    default:
      break;
  }
  cbActionsListChange();
}

// ---- pages and buttons

int TActDefDlg::PageIndex() const {
  return Notebook->PageIndex();
}

void TActDefDlg::GoToPage(TPage page) {
  Notebook->SetPageIndex(page);
  RefreshButtons();
}

void TActDefDlg::CloseWith(host::TModalResult result) {
  SetModalResult(result);
}

void TActDefDlg::cbActionsListChange() {
  FActionSet = {};
  int index = cbActionsList->ItemIndex();
  if (index >= 0 && index < 7) {
    auto type = static_cast<TActionAttrs>(index);
    FActionSet = {type};
    if (FEditAction) SetActionType(type);
  }
  SamplePaint();
  RefreshButtons();
}

void TActDefDlg::RefreshButtons() {
  PrevButton->SetEnabled(PageIndex() > pgSelect);
  bool finish = PageIndex() > pgSelect || FinishesAtOnce(FActionSet);
  NextButton->SetCaption(finish ? "&Create" : "&Next");
  NextButton->Glyph().SetImage(host::LoadBitmapResource(finish ? "CREATE" : "NEXT"));
}

void TActDefDlg::NextClick() {
  if (FinishesAtOnce(FActionSet)) {
    CloseWith(host::mrOk);
    return;
  }
  switch (PageIndex()) {
    case pgSelect:
      if (FActionSet.Contains(acFrame)) {
        GoToPage(pgExistingFrame);
      } else if (FActionSet.Contains(acDesc)) {
        txDesc->SetText(FEditAction->Desc());
        GoToPage(pgDesc);
      } else if (FActionSet.Contains(acExecute)) {
        txFileName->SetText(FEditAction->FileToRun());
        txWorkDir->SetText(FEditAction->WorkDir());
        txParam->SetText(FEditAction->Param());
        GoToPage(pgExecute);
      } else if (FActionSet.Contains(acWavePlay)) {
        GoToPage(pgPlayWave);
      }
      RefreshButtons();
      break;
    case pgNewFrame:
    case pgExistingFrame:
      SetFileToRun("");
      SetWorkDir("");
      SetParam("");
      CloseWith(host::mrOk);
      break;
    case pgExecute:
      SetFileToRun(txFileName->Text());
      SetWorkDir(txWorkDir->Text());
      SetParam(txParam->Text());
      CloseWith(host::mrOk);
      break;
    case pgPlayWave:
      SetWaveComp(cbWaveList->Text());
      CloseWith(host::mrOk);
      break;
    case pgDesc:
      SetDesc(txDesc->Text());
      CloseWith(host::mrOk);
      break;
  }
}

void TActDefDlg::PrevClick() {
  switch (PageIndex()) {
    case pgSelect:
      return;
    case pgNewFrame:
      GoToPage(pgExistingFrame);
      break;
    default:
      GoToPage(pgSelect);
  }
}

void TActDefDlg::bbNewFrameClick() {
  GoToPage(pgNewFrame);
}

void TActDefDlg::MMClick() {
  FMediaSet = {};
  if (cbPicture->Checked()) FMediaSet.Include(acPicture);
  if (cbAudio->Checked()) FMediaSet.Include(acAudio);
  SamplePaint();
}

void TActDefDlg::SpeedButton1Click() {
  if (OpenDialog1->Execute()) {
    // Inside the project the program runs in the project folder, wherever the project goes.
    std::string program =
        TakeIntoProject(OpenDialog1->FileName(), TFileKind::Program, ProjectFolder(FToolServices));
    txFileName->SetText(program);
    txWorkDir->SetText(fs::path(program).is_absolute() ? host::ExtractFilePath(program)
                                                       : std::string());
    txParam->SetText("");
  }
  SamplePaint();
}

void TActDefDlg::bbPlayWaveClick() {
  if (cbWaveList->ItemIndex() < 0 || !FEditComponent) return;
  auto* control = dynamic_cast<host::TControl*>(FEditComponent);
  host::TComponent* form = control ? static_cast<host::TComponent*>(host::GetParentForm(control))
                                   : FEditComponent->Owner();
  if (!form) return;
  for (host::TComponent* c : form->ComponentList())
    if (c->ClassName() == "TWavePlay" && c->Name() == cbWaveList->Text())
      if (auto* player = dynamic_cast<TWavePlay*>(c)) player->Play();
}

void TActDefDlg::bbCancelClick() {
  RestoreSavedAction();
  CloseWith(host::mrCancel);
}

void TActDefDlg::SamplePaint() {
  Sample->Invalidate();
  host::TCanvas& canvas = Sample->Canvas();
  // Outside a paint there is nothing to draw on; the paint that Invalidate asks for draws.
  if (!canvas.Surface()) return;
  auto draw = [&canvas](const char* name, int x, int y) {
    if (auto bitmap = host::LoadBitmapResource(name)) canvas.Draw(x, y, *bitmap);
  };
  draw("EMPTY", 0, 0);
  if (FActionSet.Contains(acFrame)) {
    draw("DIALOG", 0, 0);
    if (FMediaSet.Contains(acPicture)) draw("PICTURE", 5, 16);
    if (FMediaSet.Contains(acAudio)) draw("AUDIO", 60, 20);
  } else if (FActionSet.Contains(acExecute)) {
    draw("APPEXPT", 15, 15);
  } else if (FActionSet.Contains(acWavePlay)) {
    draw("WAVEPLAY", 15, 15);
  } else if (FActionSet.Contains(acDesc)) {
    draw("DESC", 10, 10);
  } else if (FActionSet.Contains(acBookMark) || FActionSet.Contains(acClose)) {
    draw("EXIT", 15, 15);
  }
}

// ---- frame generation

std::string TActDefDlg::CreateSource(const std::string& unitIdent,
                                     const std::string& formIdent) const {
  std::vector<std::string> uses, fields;
  if (FMediaSet.Contains(acAudio)) uses.push_back("WavePly");
  if (FMediaSet.Contains(acPicture)) fields.push_back("Image1: TImage");
  if (FMediaSet.Contains(acAudio)) fields.push_back("WavePlay1: TWavePlay");
  return ide::UnitSourceText(unitIdent, formIdent, uses, fields);
}

std::unique_ptr<host::TForm> TActDefDlg::DoFormCreation(const std::string& formIdent) const {
  auto form = std::make_unique<host::TForm>(nullptr);
  form->SetClassName("T" + formIdent);
  form->SetBorderStyle(host::bsNone);
  form->SetWidth(640);
  form->SetHeight(480);
  form->SetPosition(host::poScreenCenter);
  form->SetWindowState(host::wsNormal);
  form->SetBorderIcons({});
  form->SetName(formIdent);
  form->SetCaption(formIdent);
  form->Font().SetName("MS Sans Serif");
  form->Font().SetSize(8);
  form->Font().SetStyle({});
  if (FMediaSet.Contains(acPicture)) {
    auto* image = new host::TImage(form.get());
    image->SetParent(form.get());
    image->SetName("Image1");
    image->SetAlign(host::alClient);
    image->SendToBack();
  }
  if (FMediaSet.Contains(acAudio)) {
    auto* player = new TWavePlay(form.get());
    player->SetName("WavePlay1");
  }
  return form;
}

std::string TActDefDlg::CreateForm(const std::string& formIdent) const {
  std::unique_ptr<host::TForm> form = DoFormCreation(formIdent);
  return host::WriteComponentText(*form);
}

namespace {

// "UNIT2" or "unit2" becomes "Unit2".
std::string UnitIdentifier(const std::string& proposal) {
  std::string ident = host::LowerCase(proposal);
  if (!ident.empty())
    ident[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(ident[0])));
  return ident;
}

// "Unit2" gives "Form2": the characters after the fourth (normally the word Unit).
std::string FormIdentifier(const std::string& unitIdent) {
  return "Form" + (unitIdent.size() > 4 ? unitIdent.substr(4) : std::string());
}

// The first name no frame of the project and no open form has: the one given, else the next
// number after it (Form4 taken gives Form5; FormA taken gives FormA2). A unit renamed by hand
// keeps the frame its old name gave, so the proposed unit's number may name a frame already.
// Empty when none is free.
std::string FreeFormIdentifier(ide::TIToolServices* services, const std::string& formIdent) {
  std::vector<std::string> taken = Actdef::GetFormNames(services)->Items();
  for (int i = 0; host::Screen && i < host::Screen->FormCount(); ++i)
    taken.push_back(host::Screen->Forms(i)->Name());
  auto isFree = [&taken](const std::string& name) {
    return std::none_of(taken.begin(), taken.end(),
                        [&name](const std::string& t) { return host::SameText(t, name); });
  };
  if (isFree(formIdent)) return formIdent;
  size_t digits = formIdent.find_last_not_of("0123456789") + 1;
  std::string stem = formIdent.substr(0, digits);
  int number = 1;
  std::from_chars_result parsed =
      std::from_chars(formIdent.data() + digits, formIdent.data() + formIdent.size(), number);
  // No number to count on from, or one too large to: numbers are added to the whole name.
  if (digits == formIdent.size() || parsed.ec != std::errc()) {
    stem = formIdent;
    number = 1;
  }
  for (long long n = number + 1LL; n <= number + 100000LL; ++n)
    if (isFree(stem + std::to_string(n))) return stem + std::to_string(n);
  return std::string();
}

}  // namespace

std::string TActDefDlg::CreateFrame() {
  if (!FToolServices) return std::string();
  std::string proposal, fileName;
  if (!FToolServices->GetNewModuleName(proposal, fileName)) {
    host::ShowMessage("The project has no free name for a new unit; no new frame was made.");
    return std::string();
  }
  std::string unitIdent = UnitIdentifier(proposal);
  std::string formIdent = FreeFormIdentifier(FToolServices, FormIdentifier(unitIdent));
  if (formIdent.empty()) {
    host::ShowMessage("The project has no free name for a new frame; no new frame was made.");
    return std::string();
  }
  // A proposal that names files already on disk would be written over at the next save.
  for (const std::string& file : {fileName, host::ChangeFileExt(fileName, ".dfm")})
    if (host::FileExists(file)) {
      host::ShowMessage("The file " + file + " exists already; no new frame was made.");
      return std::string();
    }
  ide::TIMemoryStream form(CreateForm(formIdent));
  ide::TIMemoryStream source(CreateSource(unitIdent, formIdent));
  bool created =
      FToolServices->CreateModule(fileName, source, form,
                                  {ide::cmAddToProject, ide::cmShowSource, ide::cmShowForm,
                                   ide::cmUnNamed, ide::cmMarkModified});
  // An action must not name a frame that the project did not take.
  if (!created) {
    host::ShowMessage("The project did not take the new frame " + formIdent + ".");
    return std::string();
  }
  return formIdent;
}

// ---- TActionProperty

ide::TPropertyAttributes TActionProperty::GetAttributes() const {
  return {ide::paSubProperties, ide::paDialog};
}

void TActionProperty::Edit() {
  auto* action = dynamic_cast<TAction*>(GetObjectValue());
  if (!action) throw host::EInvalidCast("The Action property holds no action");
  auto* component = dynamic_cast<host::TComponent*>(GetComponent(0));
  // Listing the project's frames may fail (an unreadable unit); then the wizard does not open.
  ide::TIToolServices* project = Designer().ToolServices();
  std::unique_ptr<host::TStringList> frames = Actdef::GetFormNames(project);
  auto* control = dynamic_cast<host::TControl*>(component);
  std::unique_ptr<host::TStringList> waves =
      control ? Actdef::GetWaveComponents(control)
              : Actdef::GetFormWaveComponents(component && component->Owner() ? *component->Owner()
                                                                              : *component);

  auto wizard = std::make_unique<TActDefDlg>(host::Application);
  wizard->SetEditorAction(action);
  wizard->SetToolServices(project);
  CopyList(wizard->cbFrameList->Items(), *frames);
  wizard->SetEditComponent(component);
  CopyList(wizard->cbWaveList->Items(), *waves);
  wizard->ReStoreValues();
  if (wizard->ShowModal() != host::mrOk) {
    // However the wizard was left (Cancel, Escape, its close box), the action is as it was.
    wizard->RestoreSavedAction();
    return;
  }
  // The new frame first: a frame that is not made (CreateFrame said why) or that fails leaves
  // the action as it was, rather than leading nowhere.
  std::string newFrame;
  // The new frame and the action that goes to it are one step for undo.
  std::optional<ide::TStepGroup> oneStep;
  if (action->ActionType() == acFrame && wizard->PageIndex() == TActDefDlg::pgNewFrame) {
    oneStep.emplace(project, "Action of " +
                                 (component ? component->Name() : std::string("the component")) +
                                 " to a New Frame");
    try {
      newFrame = wizard->CreateFrame();
    } catch (...) {
      wizard->RestoreSavedAction();
      throw;
    }
    if (newFrame.empty()) {
      wizard->RestoreSavedAction();
      return;
    }
  }
  action->SetFrame("");
  action->SetFileToRun("");
  action->SetParam("");
  action->SetWorkDir("");
  action->SetWaveComp("");
  action->SetDesc("");
  switch (action->ActionType()) {
    case acFrame:
      action->SetFrame(newFrame.empty() ? wizard->cbFrameList->Text() : newFrame);
      break;
    case acExecute:
      action->SetFileToRun(wizard->txFileName->Text());
      action->SetWorkDir(wizard->txWorkDir->Text());
      action->SetParam(wizard->txParam->Text());
      break;
    case acWavePlay:
      action->SetWaveComp(wizard->cbWaveList->Text());
      break;
    case acDesc:
      action->SetDesc(wizard->txDesc->Text());
      break;
    default:
      break;
  }
  // Reported once the action holds what it keeps: the designer records the form as it is now.
  Modified();
}

}  // namespace mebrox
