#include "host/Dialogs.h"

#include <cctype>

namespace host {

static std::unique_ptr<IDialogService>& ServiceSlot() {
  static std::unique_ptr<IDialogService> service;
  return service;
}

void SetDialogService(std::unique_ptr<IDialogService> service) {
  ServiceSlot() = std::move(service);
}

IDialogService& DialogService() {
  if (!ServiceSlot()) ServiceSlot() = std::make_unique<TScriptedDialogs>();
  return *ServiceSlot();
}

TModalResult MessageDlg(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons,
                        int helpContext) {
  return DialogService().MessageDlg(message, type, buttons, helpContext);
}

void ShowMessage(const std::string& message) {
  MessageDlg(message, mtCustom, {mbOK}, 0);
}

TModalResult ButtonResult(TMsgDlgBtn button) {
  switch (button) {
    case mbYes:
      return mrYes;
    case mbNo:
      return mrNo;
    case mbOK:
      return mrOk;
    case mbCancel:
      return mrCancel;
    case mbAbort:
      return mrAbort;
    case mbRetry:
      return mrRetry;
    case mbIgnore:
      return mrIgnore;
    case mbAll:
      return mrAll;
    case mbHelp:
      return mrNone;
  }
  return mrNone;
}

std::string ModalResultName(TModalResult result) {
  switch (result) {
    case mrOk:
      return "ok";
    case mrCancel:
      return "cancel";
    case mrAbort:
      return "abort";
    case mrRetry:
      return "retry";
    case mrIgnore:
      return "ignore";
    case mrYes:
      return "yes";
    case mrNo:
      return "no";
    case mrAll:
      return "all";
    default:
      return "none";
  }
}

TMsgDlgBtn DefaultButton(TMsgDlgButtons buttons) {
  for (TMsgDlgBtn b : {mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbHelp})
    if (buttons.Contains(b)) return b;
  return mbOK;
}

TModalResult TScriptedDialogs::MessageDlg(const std::string& message, TMsgDlgType type,
                                          TMsgDlgButtons buttons, int) {
  TModalResult answer = ButtonResult(DefaultButton(buttons));
  if (!FAnswers.empty()) {
    TModalResult wanted = FAnswers.front();
    FAnswers.pop_front();
    for (TMsgDlgBtn b : {mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll})
      if (buttons.Contains(b) && ButtonResult(b) == wanted) answer = wanted;
  }
  FShown.push_back({message, type, answer});
  if (OnMessage) OnMessage(FShown.back());
  return answer;
}

void TScriptedDialogs::ShowError(const std::string& message) {
  FErrors.push_back(message);
  if (OnError) OnError(message);
}

std::vector<std::string> TScriptedDialogs::FileDialog(const TFileDialogRequest& request) {
  std::vector<std::string> answer;
  if (!FFiles.empty()) {
    answer = std::move(FFiles.front());
    FFiles.pop_front();
    if (!request.MultiSelect && answer.size() > 1) answer.resize(1);
  }
  if (OnFile) OnFile(request, answer);
  return answer;
}

int TScriptedDialogs::PopupMenu(const TPopupRequest& request) {
  int chosen = -1;
  FLastMenuChoiceFound = true;
  if (!FMenuChoices.empty()) {
    std::string wanted = FMenuChoices.front();
    FMenuChoices.pop_front();
    for (size_t i = 0; i < request.Entries.size() && chosen < 0; ++i) {
      const TPopupEntry& e = request.Entries[i];
      if (!e.Separator && e.Enabled && SameText(StripAccelerator(e.Caption), wanted))
        chosen = static_cast<int>(i);
    }
    FLastMenuChoiceFound = chosen >= 0;
  }
  if (OnPopup)
    OnPopup(request, chosen >= 0 ? &request.Entries[static_cast<size_t>(chosen)] : nullptr);
  return chosen;
}

bool TScriptedDialogs::FontDialog(TFont& font) {
  if (FFonts.empty()) {
    if (OnFont) OnFont(font, nullptr);
    return false;
  }
  std::unique_ptr<TFont> chosen = std::move(FFonts.front());
  FFonts.pop_front();
  if (OnFont) OnFont(font, chosen.get());
  font.Assign(*chosen);
  return true;
}

bool TScriptedDialogs::ColorDialog(TColor& color) {
  if (FColors.empty()) {
    if (OnColor) OnColor(color, nullptr);
    return false;
  }
  TColor chosen = FColors.front();
  FColors.pop_front();
  if (OnColor) OnColor(color, &chosen);
  color = chosen;
  return true;
}

// ---- file filters

std::vector<TFilterEntry> ParseFilter(const std::string& filter) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    size_t bar = filter.find('|', start);
    parts.push_back(
        filter.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  std::vector<TFilterEntry> entries;
  for (size_t i = 0; i + 1 < parts.size(); i += 2) {
    TFilterEntry entry{parts[i], {}};
    size_t from = 0;
    const std::string& patterns = parts[i + 1];
    for (;;) {
      size_t semi = patterns.find(';', from);
      std::string pattern =
          Trim(patterns.substr(from, semi == std::string::npos ? std::string::npos : semi - from));
      if (!pattern.empty()) entry.Patterns.push_back(pattern);
      if (semi == std::string::npos) break;
      from = semi + 1;
    }
    if (!entry.Patterns.empty()) entries.push_back(std::move(entry));
  }
  return entries;
}

bool MatchesFilePattern(const std::string& fileName, const std::string& pattern) {
  if (pattern == "*.*" || pattern == "*") return true;
  // Iterative wildcard match with one remembered star: linear in practice, never exponential.
  size_t n = 0, p = 0, star = std::string::npos, mark = 0;
  auto same = [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) ==
           std::tolower(static_cast<unsigned char>(b));
  };
  while (n < fileName.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || same(pattern[p], fileName[n]))) {
      ++n;
      ++p;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      mark = n;
    } else if (star != std::string::npos) {
      p = star + 1;
      n = ++mark;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

// ---- TOpenDialog

const std::vector<std::string>& OpenOptionNames() {
  static const std::vector<std::string> names = {
      "ofReadOnly",         "ofOverwritePrompt", "ofHideReadOnly",     "ofNoChangeDir",
      "ofShowHelp",         "ofNoValidate",      "ofAllowMultiSelect", "ofExtensionDifferent",
      "ofPathMustExist",    "ofFileMustExist",   "ofCreatePrompt",     "ofShareAware",
      "ofNoReadOnlyReturn", "ofNoTestFileCreate"};
  return names;
}

const TClassInfo& TOpenDialog::StaticClassInfo() {
  static TClassInfo info = [] {
    TClassInfo i("TOpenDialog", &TComponent::StaticClassInfo());
    TPublisher<TOpenDialog>(i)
        .String("DefaultExt", &TOpenDialog::DefaultExt, &TOpenDialog::SetDefaultExt)
        .String("FileName", &TOpenDialog::FileName, &TOpenDialog::SetFileName)
        .String("Filter", &TOpenDialog::Filter, &TOpenDialog::SetFilter)
        .Integer("FilterIndex", &TOpenDialog::FilterIndex, &TOpenDialog::SetFilterIndex, 1)
        .String("InitialDir", &TOpenDialog::InitialDir, &TOpenDialog::SetInitialDir)
        .Set("Options", OpenOptionNames(), &TOpenDialog::Options, &TOpenDialog::SetOptions, 0)
        .String("Title", &TOpenDialog::Title, &TOpenDialog::SetTitle);
    return i;
  }();
  return info;
}

const TClassInfo& TSaveDialog::StaticClassInfo() {
  static TClassInfo info("TSaveDialog", &TOpenDialog::StaticClassInfo());
  return info;
}

TOpenDialog::TOpenDialog(TComponent* owner) : TComponent(owner) {}

bool TOpenDialog::Execute() {
  TFileDialogRequest request;
  request.Save = SaveDialog();
  request.Title = FTitle;
  request.Filter = FFilter;
  request.FilterIndex = FFilterIndex;
  request.InitialDir = FInitialDir;
  request.FileName = FFileName;
  request.MultiSelect = !SaveDialog() && FOptions.Contains(ofAllowMultiSelect);
  std::vector<std::string> chosen = DialogService().FileDialog(request);
  std::erase(chosen, std::string());
  if (chosen.empty()) return false;
  // The dialog of the old system would not close on a file that is not there.
  if (FOptions.Contains(ofFileMustExist))
    for (const std::string& name : chosen)
      if (!FileExists(name)) {
        MessageDlg(name + "\rFile not found.\rPlease verify the correct file name was given.",
                   mtWarning, {mbOK}, 0);
        return false;
      }
  FFiles.Clear();
  for (std::string name : chosen) {
    if (!FDefaultExt.empty() && ExtractFileExt(name).empty()) name += "." + FDefaultExt;
    FFiles.Add(name);
  }
  FFileName = FFiles.Get(0);
  return true;
}

const TClassInfo& TFontDialog::StaticClassInfo() {
  static TClassInfo info = [] {
    TClassInfo i("TFontDialog", &TComponent::StaticClassInfo());
    TPublisher<TFontDialog>(i).SubObject<TFont>(
        "Font", [](TFontDialog& d) -> TFont& { return d.Font(); }, &TFontDialog::SetFont);
    return i;
  }();
  return info;
}

bool TFontDialog::Execute() {
  TFont chosen;
  chosen.Assign(FFont);
  if (!DialogService().FontDialog(chosen)) return false;
  FFont.Assign(chosen);
  return true;
}

const TClassInfo& TColorDialog::StaticClassInfo() {
  static TClassInfo info = [] {
    TClassInfo i("TColorDialog", &TComponent::StaticClassInfo());
    TPublisher<TColorDialog>(i).Color("Color", &TColorDialog::Color, &TColorDialog::SetColor,
                                      clBlack);
    return i;
  }();
  return info;
}

bool TColorDialog::Execute() {
  TColor chosen = FColor;
  if (!DialogService().ColorDialog(chosen)) return false;
  FColor = chosen;
  return true;
}

void RegisterDialogsClasses() {
  TClassRegistry::Register<TColorDialog>();
  TClassRegistry::Register<TFontDialog>();
  TClassRegistry::Register<TOpenDialog>();
  TClassRegistry::Register<TSaveDialog>();
}

}  // namespace host
