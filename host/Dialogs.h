#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/Forms.h"
#include "host/Strings.h"

namespace host {

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbHelp };
using TMsgDlgButtons = TSet<TMsgDlgBtn>;

// What a file dialog asks for.
struct TFileDialogRequest {
  bool Save = false;
  std::string Title;
  // Pairs of description and patterns: "Wave Files, *.WAV|*.WAV|All files|*.*". Patterns match
  // without regard to case, as they did on the old system.
  std::string Filter;
  int FilterIndex = 1;
  std::string InitialDir;
  std::string FileName;      // proposed
  bool MultiSelect = false;  // an open dialog may return several files
};

// One line of a popup menu as it is shown.
struct TPopupEntry {
  std::string Caption;
  bool Enabled = true;
  bool Checked = false;
  bool Separator = false;
};

// A popup menu to show at a screen point.
struct TPopupRequest {
  std::string MenuName;
  TPoint At;
  std::vector<TPopupEntry> Entries;
};

// Message boxes, file dialogs and popup menus go through one service, so that tests and
// headless runs answer them from a script.
class IDialogService {
 public:
  virtual ~IDialogService() = default;
  // Shows a popup menu; returns the index of the chosen entry, or -1 when none was chosen.
  virtual int PopupMenu(const TPopupRequest& request) = 0;
  // Shows a font dialog starting at font; true with font changed to the choice, false when
  // cancelled (font as it was).
  virtual bool FontDialog(TFont& font) = 0;
  // Shows a colour dialog starting at color; true with color changed to the choice, false when
  // cancelled (color as it was).
  virtual bool ColorDialog(TColor& color) = 0;
  // Shows a file dialog; returns the full names of the chosen files (one unless the request
  // allows several), none when cancelled.
  virtual std::vector<std::string> FileDialog(const TFileDialogRequest& request) = 0;
  // Shows a message box; returns the modal result of the pressed button.
  virtual TModalResult MessageDlg(const std::string& message, TMsgDlgType type,
                                  TMsgDlgButtons buttons, int helpContext) = 0;
  // Shows an error that reached the application's handler.
  virtual void ShowError(const std::string& message) = 0;
};

void SetDialogService(std::unique_ptr<IDialogService> service);
// The installed service; without one, a scripted service that answers with default buttons.
IDialogService& DialogService();

TModalResult MessageDlg(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons,
                        int helpContext);
void ShowMessage(const std::string& message);

// The modal result of a button, and its lower-case name ("yes", "ok" ...).
TModalResult ButtonResult(TMsgDlgBtn button);
std::string ModalResultName(TModalResult result);
// The button a box answers with when nobody chooses: the first of its buttons.
TMsgDlgBtn DefaultButton(TMsgDlgButtons buttons);

// The filter's pairs, in order: description, then its patterns split at ";".
struct TFilterEntry {
  std::string Description;
  std::vector<std::string> Patterns;
};
std::vector<TFilterEntry> ParseFilter(const std::string& filter);
// Whether a file name matches a pattern of "*" and "?", ignoring case; "*.*" matches every name.
bool MatchesFilePattern(const std::string& fileName, const std::string& pattern);

enum TOpenOption {
  ofReadOnly,
  ofOverwritePrompt,
  ofHideReadOnly,
  ofNoChangeDir,
  ofShowHelp,
  ofNoValidate,
  ofAllowMultiSelect,
  ofExtensionDifferent,
  ofPathMustExist,
  ofFileMustExist,
  ofCreatePrompt,
  ofShareAware,
  ofNoReadOnlyReturn,
  ofNoTestFileCreate
};
using TOpenOptions = TSet<TOpenOption>;
const std::vector<std::string>& OpenOptionNames();

// The open-file dialog as a component: set its properties, call Execute, read FileName.
class TOpenDialog : public TComponent {
  HOST_PUBLISHED_CLASS
 public:
  explicit TOpenDialog(TComponent* owner);

  const std::string& DefaultExt() const { return FDefaultExt; }
  void SetDefaultExt(const std::string& value) { FDefaultExt = value; }
  const std::string& FileName() const { return FFileName; }
  void SetFileName(const std::string& value) { FFileName = value; }
  const std::string& Filter() const { return FFilter; }
  void SetFilter(const std::string& value) { FFilter = value; }
  int FilterIndex() const { return FFilterIndex; }
  void SetFilterIndex(int value) { FFilterIndex = value; }
  const std::string& InitialDir() const { return FInitialDir; }
  void SetInitialDir(const std::string& value) { FInitialDir = value; }
  TOpenOptions Options() const { return FOptions; }
  void SetOptions(TOpenOptions value) { FOptions = value; }
  const std::string& Title() const { return FTitle; }
  void SetTitle(const std::string& value) { FTitle = value; }

  // Shows the dialog; true with FileName (and Files) set when the user chose a file. A name
  // chosen without an extension gets DefaultExt. With ofAllowMultiSelect the user may choose
  // several files, all in Files; FileName is the first.
  bool Execute();
  TStringList& Files() { return FFiles; }

 protected:
  virtual bool SaveDialog() const { return false; }

 private:
  std::string FDefaultExt;
  std::string FFileName;
  std::string FFilter;
  int FFilterIndex = 1;
  std::string FInitialDir;
  TOpenOptions FOptions;
  std::string FTitle;
  TStringList FFiles;
};

class TSaveDialog : public TOpenDialog {
  HOST_PUBLISHED_CLASS
 public:
  explicit TSaveDialog(TComponent* owner) : TOpenDialog(owner) {}

 protected:
  bool SaveDialog() const override { return true; }
};

// The font dialog as a component: Font is what it starts with and what it chose.
class TFontDialog : public TComponent {
  HOST_PUBLISHED_CLASS
 public:
  explicit TFontDialog(TComponent* owner) : TComponent(owner) {}
  TFont& Font() { return FFont; }
  void SetFont(const TFont& value) { FFont.Assign(value); }
  // Shows the dialog; true when the user chose a font, now in Font.
  bool Execute();

 private:
  TFont FFont;
};

// The colour dialog as a component: Color is what it starts with and what it chose.
class TColorDialog : public TComponent {
  HOST_PUBLISHED_CLASS
 public:
  explicit TColorDialog(TComponent* owner) : TComponent(owner) {}
  TColor Color() const { return FColor; }
  void SetColor(TColor value) { FColor = value; }
  // Shows the dialog; true when the user chose a colour, now in Color.
  bool Execute();

 private:
  TColor FColor = clBlack;
};

void RegisterDialogsClasses();

// Answers message boxes from a queue and records every text shown.
class TScriptedDialogs : public IDialogService {
 public:
  struct TShown {
    std::string Message;
    TMsgDlgType Type;
    TModalResult Answer;
  };

  // Queues the answer for the next message box. An answer the box has no button for gives
  // the box's default button.
  void QueueAnswer(TModalResult answer) { FAnswers.push_back(answer); }
  // Queues the file the next file dialog chooses; with none queued a file dialog is cancelled.
  void QueueFile(const std::string& fileName) { FFiles.push_back({fileName}); }
  // Several files for a dialog that takes several (one that takes one chooses the first).
  void QueueFiles(std::vector<std::string> fileNames) { FFiles.push_back(std::move(fileNames)); }
  size_t PendingFiles() const { return FFiles.size(); }
  // Queues the entry (by caption, ignoring its accelerator mark and case) the next popup menu
  // chooses; with none queued the menu closes without a choice.
  void QueueMenuChoice(const std::string& caption) { FMenuChoices.push_back(caption); }
  size_t PendingMenuChoices() const { return FMenuChoices.size(); }
  void ClearMenuChoices() { FMenuChoices.clear(); }
  // Queues the font the next font dialog chooses; with none queued it is cancelled.
  void QueueFont(const TFont& font) {
    FFonts.push_back(std::make_unique<TFont>());
    FFonts.back()->Assign(font);
  }
  // Queues the colour the next colour dialog chooses; with none queued it is cancelled.
  void QueueColor(TColor color) { FColors.push_back(color); }
  size_t PendingColors() const { return FColors.size(); }
  // Whether the last popup menu had the entry it was told to choose.
  bool LastMenuChoiceFound() const { return FLastMenuChoiceFound; }
  size_t PendingAnswers() const { return FAnswers.size(); }
  const std::vector<TShown>& Shown() const { return FShown; }
  const std::vector<std::string>& Errors() const { return FErrors; }

  std::function<void(const TShown&)> OnMessage;
  std::function<void(const std::string&)> OnError;
  // A file dialog was shown: what it asked and what it answered.
  std::function<void(const TFileDialogRequest&, const std::vector<std::string>&)> OnFile;
  // A font dialog was shown: the font it started with and the one chosen (null: cancelled).
  std::function<void(const TFont& from, const TFont* chosen)> OnFont;
  // A colour dialog was shown: the colour it started with and the one chosen (null: cancelled).
  std::function<void(TColor from, const TColor* chosen)> OnColor;
  // A popup menu was shown, and the entry chosen (null for none).
  std::function<void(const TPopupRequest&, const TPopupEntry*)> OnPopup;

  TModalResult MessageDlg(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons,
                          int helpContext) override;
  void ShowError(const std::string& message) override;
  std::vector<std::string> FileDialog(const TFileDialogRequest& request) override;
  int PopupMenu(const TPopupRequest& request) override;
  bool FontDialog(TFont& font) override;
  bool ColorDialog(TColor& color) override;

 private:
  std::deque<std::unique_ptr<TFont>> FFonts;
  std::deque<TColor> FColors;
  std::deque<TModalResult> FAnswers;
  std::deque<std::vector<std::string>> FFiles;
  std::deque<std::string> FMenuChoices;
  bool FLastMenuChoiceFound = true;
  std::vector<TShown> FShown;
  std::vector<std::string> FErrors;
};

}  // namespace host
