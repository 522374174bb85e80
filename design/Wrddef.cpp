#include "design/Wrddef.h"

#include <algorithm>

#include "design/Actdef.h"
#include "design/ProjectAssets.h"
#include "host/DialogLayout.h"
#include "host/Forms.h"
#include "host/Resources.h"
#include "host/SysUtils.h"
#include "runtime/HyperTxt.h"
#include "runtime/Strtool.h"

namespace mebrox::Wrddef {

std::unique_ptr<host::TStringList> GetFormNames() {
  auto names = std::make_unique<host::TStringList>();
  if (!host::Screen) return names;
  for (int i = 0; i < host::Screen->FormCount(); ++i) {
    host::TForm* form = host::Screen->Forms(i);
    if (form->ClassName().substr(0, 5) == "TForm") names->Add(form->Name());
  }
  return names;
}

std::unique_ptr<host::TStringList> GetWaveComponents(host::TComponent* component) {
  auto* form = dynamic_cast<host::TForm*>(component ? component->Owner() : nullptr);
  if (!form) throw host::EInvalidCast();
  return Actdef::GetFormWaveComponents(*form);
}

}  // namespace mebrox::Wrddef

namespace mebrox {

namespace {

// The word action codes in the order cbAction lists them.
enum { waDescription, waFrame, waWave, waProgram, waClose, waLines };

// A memo's text as the designer sees it: its lines joined by CR LF.
std::string MemoText(host::TMemo& memo) {
  std::string text;
  for (int i = 0; i < memo.Lines().Count(); ++i) {
    if (i > 0) text += "\r\n";
    text += memo.Lines().Get(i);
  }
  return text;
}

// The chosen item of a drop-down list, "" when none is.
std::string ChosenItem(const host::TComboBox& box) {
  return box.ItemIndex() >= 0 ? box.Items().Get(box.ItemIndex()) : std::string();
}

// The strings of a discovered list, which replace the box's items.
void FillItems(host::TComboBox& box, const host::TStrings& items) {
  box.Items().Clear();
  box.Items().AddStrings(items);
}

// A key that does what a speed button beside the field does, for those who use the keyboard:
// speed buttons take no keyboard themselves.
void BindKey(host::TWinControl& field, host::TKey key, host::TSpeedButton& button) {
  field.OnKeyDown = [key, &button](host::TObject*, host::TKey& pressed, host::TShiftState shift) {
    if (pressed != key || shift.Mask() != 0 || !button.Enabled()) return;
    pressed = 0;
    button.Click();
  };
}

}  // namespace

// ---- TWordSelectDlg

TWordSelectDlg::TWordSelectDlg(host::TComponent* owner)
    : host::TForm(owner), FProjectFolder(ProjectFolder(nullptr)) {
  host::TDialogLayout("WordSelectDlg")
      .Bind("SrcLabel", SrcLabel)
      .Bind("SrcTxt", SrcTxt)
      .Bind("DstLabel", DstLabel)
      .Bind("DstList", DstList)
      .Bind("IncludeBtn", IncludeBtn)
      .Bind("ExcludeBtn", ExcludeBtn)
      .Bind("ExcludeAllBtn", ExcludeAllBtn)
      .Bind("OKBtn", OKBtn)
      .Bind("CancelBtn", CancelBtn)
      .Bind("bbExtender", bbExtender)
      .Bind("GroupBox1", GroupBox1)
      .Bind("Label7", Label7)
      .Bind("cbAction", cbAction)
      .Bind("Label8", Label8)
      .Bind("Notebook1", Notebook1)
      .Part("Label1")
      .Bind("mDesc", mDesc)
      .Part("Label2")
      .Bind("cbFrameList", cbFrameList)
      .Part("Label3")
      .Bind("cbWaveList", cbWaveList)
      .Part("Label4")
      .Bind("txFileName", txFileName)
      .Bind("SpeedButton1", SpeedButton1)
      .Part("Label5")
      .Part("Label6")
      .Bind("cbLinesList", cbLinesList)
      .Bind("PopupMenu1", PopupMenu1)
      .Bind("Save1", Save1)
      .Bind("Load1", Load1)
      .Bind("OpenDialog1", OpenDialog1)
      .Bind("SaveDialog1", SaveDialog1)
      .Load(*this);
  BindEvents();
  AutoInitialize();
}

void TWordSelectDlg::BindEvents() {
  IncludeBtn->OnClick = [this](host::TObject*) { IncludeBtnClick(); };
  ExcludeBtn->OnClick = [this](host::TObject*) { ExcludeBtnClick(); };
  ExcludeAllBtn->OnClick = [this](host::TObject*) { ExcludeAllBtnClick(); };
  bbExtender->OnClick = [this](host::TObject*) { bbExtenderClick(); };
  DstList->OnClick = [this](host::TObject*) { DstListClick(); };
  cbAction->OnChange = [this](host::TObject*) {
    FActionChanged = true;
    cbActionChange();
  };
  auto actionChanged = [this](host::TObject*) { FActionChanged = true; };
  cbFrameList->OnChange = actionChanged;
  cbWaveList->OnChange = actionChanged;
  cbLinesList->OnChange = actionChanged;
  txFileName->OnChange = [this](host::TObject*) {
    FActionChanged = true;
    ShowRoom(false);
  };
  mDesc->OnChange = [this](host::TObject*) {
    mDescChange();
    ShowRoom(false);
  };
  mDesc->OnMaxText = [this](host::TObject*) { ShowRoom(true); };
  txFileName->OnMaxText = mDesc->OnMaxText;
  SpeedButton1->OnClick = [this](host::TObject*) { SpeedButton1Click(); };
  Save1->OnClick = [this](host::TObject*) { Save1Click(); };
  Load1->OnClick = [this](host::TObject*) { Load1Click(); };
  BindKey(*SrcTxt, host::VK_INSERT, *IncludeBtn);
  BindKey(*DstList, host::VK_DELETE, *ExcludeBtn);
  BindKey(*txFileName, host::VK_F1 + 3, *SpeedButton1);
}

void TWordSelectDlg::AutoInitialize() {
  // What the designer types must fit the entry's data column: it would come back cut.
  mDesc->SetMaxLength(TWords::ActWidth);
  txFileName->SetMaxLength(TWords::ActWidth);
  FCompactHeight = OKBtn->Top() + OKBtn->Height() + 33;
  FExpandedHeight = GroupBox1->Top() + GroupBox1->Height() + 36;
  // Placed so that the dialog still fits on the screen once the panel is folded out.
  SetBounds((host::Screen->Width() - Width()) / 2, (host::Screen->Height() - FExpandedHeight) / 2,
            Width(), FCompactHeight);
  SetExtenderGlyph("OPENACTIONS");
  Repaint();
  GroupBox1->SetEnabled(false);
  // Our heights count the client area alone, so the folded panel's top edge would still show.
  GroupBox1->SetVisible(false);
}

bool TWordSelectDlg::ActionsOpen() const {
  return bbExtender->Caption() == CloseActionsCaption;
}

void TWordSelectDlg::RefreshButtons() {
  // While the panel is open the list must keep the word it shows, and the panel must stay
  // closable whatever a loaded list holds.
  const bool open = ActionsOpen();
  const bool hasWords = DstList->Items().Count() > 0;
  ExcludeBtn->SetEnabled(hasWords && !open);
  ExcludeAllBtn->SetEnabled(hasWords && !open);
  bbExtender->SetEnabled(hasWords || open);
  IncludeBtn->SetEnabled(SrcTxt->Lines().Count() > 0 && !open);
}

std::string TWordSelectDlg::SelectedWord(std::string& refusal) const {
  const std::string selected = SrcTxt->SelText();
  // Line ends at either end are a drag run past the word's line; the word is what lies between.
  const size_t first = selected.find_first_not_of("\r\n");
  const std::string within =
      first == std::string::npos
          ? std::string()
          : selected.substr(first, selected.find_last_not_of("\r\n") - first + 1);
  const std::string word = RTrim(ExpandTabs(within, FWordTabWidth));
  // A word lies within one line and fits its column: anything else would garble the word's
  // entry and the word-list file.
  const auto lines = std::count(word.begin(), word.end(), '\n') + 1;
  if (selected.empty())
    refusal = "Select the word to include in the text first.";
  else if (word.empty())
    refusal = "The selection holds only blanks: select a word of the text to include.";
  else if (lines > 1)
    refusal = "The selection runs over " + std::to_string(lines) +
              " lines: a hot word lies within one line of the text.";
  else if (word.size() > static_cast<size_t>(TWords::WordWidth))
    refusal = "The selection is " + std::to_string(word.size()) +
              " characters long: a hot word holds " + std::to_string(TWords::WordWidth) +
              " at most.";
  else
    return word;
  return std::string();
}

void TWordSelectDlg::IncludeBtnClick() {
  std::string refusal;
  const std::string word = SelectedWord(refusal);
  if (word.empty()) {
    host::ShowMessage(refusal);
    return;
  }
  // Compared as typed and as it would be stored, so that a word with a tab comes in once.
  const host::TStringList& items = DstList->Items();
  if (items.IndexOf(SrcTxt->SelText()) >= 0 || items.IndexOf(word) >= 0) return;
  DstList->Items().Add(word);
  FCurrentWord = FHotWords->NewWord(items.Get(items.Count() - 1), "0", "Not Defined");
  SrcTxt->SetSelLength(0);
  RefreshButtons();
}

void TWordSelectDlg::ExcludeBtnClick() {
  if (GetFirstSelection(*DstList) >= 0) RemoveFromData(DstList->ItemIndex());
  RefreshButtons();
}

void TWordSelectDlg::ExcludeAllBtnClick() {
  for (int i = DstList->Items().Count() - 1; i >= 0; --i) RemoveFromData(i);
  RefreshButtons();
}

void TWordSelectDlg::RemoveFromData(int index) {
  FHotWords->RemoveWord(index);
  DstList->Items().Delete(index);
}

int TWordSelectDlg::GetFirstSelection(const host::TListBox& list) {
  return list.ItemIndex();
}

void TWordSelectDlg::bbExtenderClick() {
  if (ActionsOpen())
    FoldIn();
  else
    FoldOut();
  Repaint();
}

void TWordSelectDlg::FoldOut() {
  bbExtender->SetCaption(CloseActionsCaption);
  SetExtenderGlyph("CLOSEACTIONS");
  GroupBox1->SetVisible(true);
  GroupBox1->SetEnabled(true);
  RefreshButtons();
  // The panel shows first, so that a word whose action cannot be read can be given one.
  SetHeight(FExpandedHeight);
  ShowWord(0);
}

void TWordSelectDlg::FoldIn() {
  bbExtender->SetCaption(OpenActionsCaption);
  SetExtenderGlyph("OPENACTIONS");
  GroupBox1->SetEnabled(false);
  GroupBox1->SetVisible(false);
  UpdateWordData();
  RefreshButtons();
  SetHeight(FCompactHeight);
}

void TWordSelectDlg::SetExtenderGlyph(const std::string& bitmapName) {
  // The bitmap holds the button's states side by side, each as wide as it is high.
  std::shared_ptr<const host::TRawImage> glyph = host::LoadBitmapResource(bitmapName);
  bbExtender->Glyph().SetImage(glyph);
  bbExtender->SetNumGlyphs(glyph && glyph->Height > 0 ? glyph->Width / glyph->Height : 1);
}

void TWordSelectDlg::DstListClick() {
  if (DstList->ItemIndex() == FCurrentWord || !bbExtender->Enabled() || !ActionsOpen()) return;
  // The open panel always shows a word: a list left with no choice (Ctrl+click) chooses the
  // panel's word again.
  const int chosen = DstList->ItemIndex();
  if (chosen < 0) {
    DstList->SetItemIndex(FCurrentWord);
    return;
  }
  // A panel the entry cannot hold stays, with its word chosen, for the designer to put right.
  try {
    UpdateWordData();
  } catch (...) {
    DstList->SetItemIndex(FCurrentWord);
    throw;
  }
  ShowWord(chosen);
}

void TWordSelectDlg::ShowWord(int index) {
  // No action chosen until the word's own shows: a word whose code cannot be read is then
  // not overwritten with what the panel held before.
  cbAction->SetItemIndex(-1);
  mDesc->Lines().Clear();
  cbFrameList->SetItemIndex(-1);
  cbWaveList->SetItemIndex(-1);
  cbLinesList->SetItemIndex(-1);
  FCurrentWord = index;
  DstList->SetItemIndex(index);
  RestoreData();
}

std::string TWordSelectDlg::ActionData(int action) const {
  switch (action) {
    case waDescription:
      return MemoText(*mDesc);
    case waFrame:
      return ChosenItem(*cbFrameList);
    case waWave:
      return ChosenItem(*cbWaveList);
    case waProgram:
      return txFileName->Text();
    case waClose:
      return "Close";
    default:
      return host::IntToStr(cbLinesList->ItemIndex());
  }
}

void TWordSelectDlg::UpdateWordData() {
  const int action = cbAction->ItemIndex();
  // Only what the designer changed is written: a word merely looked at keeps its data even
  // when the panel cannot show it (a frame that is not open, a text file beyond the list).
  const bool changed = FActionChanged || (action == waDescription && FDescChanged);
  if (changed && action >= 0 && FCurrentWord >= 0 && FCurrentWord < FHotWords->Count())
    FHotWords->ChangeWord(FCurrentWord, std::string(), host::IntToStr(action), ActionData(action));
  FActionChanged = false;
  FDescChanged = false;
}

void TWordSelectDlg::RestoreData() {
  const int code = host::StrToInt(FHotWords->GetWordActType(FCurrentWord));
  const std::string data = FHotWords->GetWordAct(DstList->ItemIndex());
  switch (code) {
    case waDescription:
      mDesc->Lines().SetText(data);
      FDescChanged = false;
      break;
    case waFrame:
      cbFrameList->SetItemIndex(cbFrameList->Items().IndexOf(data));
      break;
    case waWave:
      cbWaveList->SetItemIndex(cbWaveList->Items().IndexOf(data));
      break;
    case waProgram:
      txFileName->SetText(data);
      break;
    case waLines:
      cbLinesList->SetItemIndex(host::StrToInt(data));
      break;
    default:
      break;
  }
  cbAction->SetItemIndex(code);
  cbActionChange();
  FActionChanged = false;
}

void TWordSelectDlg::cbActionChange() {
  if (cbAction->ItemIndex() >= 0) Notebook1->SetPageIndex(cbAction->ItemIndex());
  ShowRoom(false);
}

void TWordSelectDlg::ShowRoom(bool refused) {
  const int action = cbAction->ItemIndex();
  if (action != waDescription && action != waProgram) {
    Label8->SetCaption(std::string());
    return;
  }
  const std::string room = std::to_string(TWords::ActWidth);
  Label8->SetCaption(refused ? "Not taken: " + room + " characters at most"
                             : std::to_string(ActionData(action).size()) + " of " + room +
                                   " characters");
}

void TWordSelectDlg::SpeedButton1Click() {
  OpenDialog1->SetFilter("*.exe;*.bat|*.EXE;*.BAT|*.exe|*.EXE|*.bat|*.BAT");
  OpenDialog1->SetDefaultExt("EXE");
  if (!OpenDialog1->Execute()) return;
  const std::string fileName =
      TakeIntoProject(OpenDialog1->FileName(), TFileKind::Program, FProjectFolder);
  if (fileName.size() > static_cast<size_t>(TWords::ActWidth)) {
    host::ShowMessage("The path of " + fileName + " is " + std::to_string(fileName.size()) +
                      " characters long; a hot word's program path holds " +
                      std::to_string(TWords::ActWidth) +
                      " at most. Type a shorter one, such as its path from the project's folder.");
    return;
  }
  txFileName->SetText(fileName);
}

void TWordSelectDlg::Save1Click() {
  if (!SaveDialog1->Execute()) return;
  // The file gets what the panel shows, as OK would.
  if (ActionsOpen()) UpdateWordData();
  FHotWords->SaveListToFile(SaveDialog1->FileName());
}

void TWordSelectDlg::Load1Click() {
  OpenDialog1->SetFilter("Words List|*.WLS");
  OpenDialog1->SetDefaultExt("WLS");
  if (!OpenDialog1->Execute()) return;
  // Read whole before anything changes: a file that fails half-way leaves the list as it was.
  TWords loaded;
  loaded.LoadListFromFile(OpenDialog1->FileName());
  FHotWords->Assign(loaded);
  ShowWords();
  RefreshButtons();
  if (!ActionsOpen()) return;
  // The open panel shows the loaded word at its place, so that folding in writes back that
  // word's own data and not the one the panel showed before.
  if (FHotWords->Count() == 0) {
    bbExtenderClick();
    return;
  }
  ShowWord(FCurrentWord < FHotWords->Count() ? FCurrentWord : 0);
}

void TWordSelectDlg::ShowWords() {
  DstList->Items().BeginUpdate();
  DstList->Items().Clear();
  for (int i = 0; i < FHotWords->Count(); ++i) DstList->Items().Add(FHotWords->GetWord(i));
  DstList->Items().EndUpdate();
}

// ---- TWordsProperty

ide::TPropertyAttributes TWordsProperty::GetAttributes() const {
  return {ide::paDialog, ide::paReadOnly};
}

THyperTxt& TWordsProperty::EditedText() const {
  auto* text = dynamic_cast<THyperTxt*>(GetComponent(0));
  if (!text) throw host::EInvalidCast("The words editor edits the words of a THyperTxt");
  return *text;
}

void TWordsProperty::RestoreValues(TWordSelectDlg& dialog, const host::TStrings& lines) const {
  dialog.FWordTabWidth = EditedText().TabWidth();
  dialog.SrcTxt->Lines().Assign(lines);
  dialog.DstList->Items().Clear();
  if (dialog.SrcTxt->Lines().Count() > 0) dialog.ShowWords();
}

void TWordsProperty::Edit() {
  THyperTxt& text = EditedText();
  // The dialog works on a copy, so that Cancel leaves the control's words as they were.
  TWords words;
  words.Assign(text.Words());
  auto dialog = std::make_unique<TWordSelectDlg>(host::Application);
  dialog->FHotWords = &words;
  dialog->FProjectFolder = ProjectFolder(Designer().ToolServices());
  RestoreValues(*dialog, text.Lines());
  dialog->RefreshButtons();
  FillItems(*dialog->cbFrameList, *Wrddef::GetFormNames());
  FillItems(*dialog->cbWaveList, *Wrddef::GetWaveComponents(&text));
  FillItems(*dialog->cbLinesList, text.LinesLists());
  if (dialog->ShowModal() != host::mrOk) return;
  // A panel the entry cannot hold is reported; the rest of the designer's work is kept.
  try {
    dialog->UpdateWordData();
  } catch (const host::Exception& e) {
    host::Application->HandleException(e);
  }
  dialog.reset();
  // The control's setter copies the list; setting it tells the designer the form changed.
  SetObjectValue(words);
}

}  // namespace mebrox
