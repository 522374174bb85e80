#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <ostream>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "apps/headless/Script.h"
#include "host/Dialogs.h"
#include "host/Forms.h"
#include "host/Mci.h"

namespace mebrox {

// Text in double quotes with C escapes for quotes, backslashes and control characters; other
// bytes (UTF-8 text) pass through.
std::string QuoteTraceString(std::string_view text);

// A font as traces show it: "Arial" 10 bold clNavy.
std::string DescribeFont(const host::TFont& font);

// The text a modal form shows: the Caption of its first label (a TLabel or a descendant that
// publishes Caption), looked for among the components it owns and then its controls; empty when
// it has none.
std::string ModalFormText(const host::TForm& form);

struct THeadlessOptions {
  // Relative file names of screenshot and file lines resolve here, not in the project folder.
  std::string StartDir;
  // Where every form is saved each time it becomes visible; empty for no such pictures.
  std::string ScreenshotDir;
  // A modal form stays open for the script's next lines until one of them closes it (dialogs
  // in the studio), rather than closing at once (popups of a running application).
  bool ModalFormsStayOpen = false;
};

// Drives a loaded project without a person: answers its message boxes and modal forms, runs
// event scripts against its forms, and writes one trace line per observable effect. Construct
// it before the project's forms are created, so that what they do while loading is traced
// too; its hooks are taken down again when it goes.
class THeadlessRun {
 public:
  THeadlessRun(std::ostream& trace, THeadlessOptions options);
  virtual ~THeadlessRun();
  THeadlessRun(const THeadlessRun&) = delete;
  THeadlessRun& operator=(const THeadlessRun&) = delete;

  // Shows the main form as Application->Run would.
  void Start();
  // Runs the commands in order until the last or until the application terminates. A form or
  // control that does not exist, or one a person could not reach (hidden, disabled), fails
  // with EParserError naming scriptName and the line.
  void Execute(const std::vector<TScriptCommand>& script, const std::string& scriptName);

  // Start, then Execute, reporting on errors what went wrong as program: the exit code, 0 when
  // the script ran, 2 for a faulty script line, 1 when a picture could not be written.
  int RunScript(const std::vector<TScriptCommand>& script, const std::string& scriptName,
                const std::string& program);

  // Queues the answers of the script's first lines, up to its first line of another kind, for
  // message boxes shown before the script runs; returns how many lines that took.
  size_t QueueLeadingAnswers(const std::vector<TScriptCommand>& script);

  // Called after each command has run (dialogs may be open): for tests that look between lines.
  std::function<void(const TScriptCommand&)> AfterCommand;

  // Why the run could not go on (a picture that could not be written); empty while all is well.
  const std::string& Failure() const { return FFailure; }
  // The time the MCI service sees; only wait lines move it.
  host::TManualClock& Clock() { return *FClock; }
  host::TScriptedDialogs& Dialogs() { return *FDialogs; }

  // What the verbs' handlers work with.
  void Trace(const std::string& line);
  [[noreturn]] void Fail(const TScriptCommand& command, const std::string& message) const;
  // Ends the run after this line with exit code 1, telling why (with the script's line).
  void FailRun(const TScriptCommand& command, const std::string& why);
  host::TForm& FindForm(const TScriptCommand& command) const;
  // The component FORM.CONTROL names, or the form itself for FORM alone.
  host::TComponent& FindComponent(const TScriptCommand& command) const;
  // A control a person can reach: on a showing form before any open dialog, visible and
  // enabled.
  host::TControl& FindReachableControl(const TScriptCommand& command) const;
  // Fails when a dialog that stays open for the script's lines stands before form: a person
  // could not reach it, and what the dialog edits must outlive the dialog.
  void CheckNotBehindDialog(const TScriptCommand& command, const host::TForm& form) const;
  // Relative to where the run started.
  std::string ResolvePath(const std::string& fileName) const;
  const std::string& ScriptName() const { return FScriptName; }
  // Runs fn as the toolkit runs an event: what it throws reaches the application's handler,
  // except the script's own errors, which end the run.
  void AsEvent(const std::function<void()>& fn);
  // A pointer event of the command's button at a client point of the form, with the buttons
  // held as a real pointer holds them.
  void Pointer(const TScriptCommand& command, host::TForm& form, host::TPoint point,
               host::TMouseEventRecord::TKind kind);

 protected:
  // Carries out one command by its verb's handler; the studio adds what follows each line.
  virtual void ExecuteOne(const TScriptCommand& command);
  // The text a modal form is traced with: its caption in the studio, its label at run time.
  virtual std::string ModalText(const host::TForm& form) const;

 private:
  // Runs the next command of the script; false when there is none or the run is over.
  bool RunNext();
  void OnFormShown(host::TForm& form);
  void OnFormHidden(host::TForm& form);
  void OnModal(host::TForm& form);
  void SaveShot(host::TForm& form);

  std::ostream& FTrace;
  THeadlessOptions FOptions;
  const std::vector<TScriptCommand>* FScript = nullptr;
  size_t FNext = 0;
  std::string FScriptName;
  std::exception_ptr FScriptError;
  host::TScriptedDialogs* FDialogs = nullptr;
  host::TManualClock* FClock = nullptr;
  int FShotCount = 0;
  std::string FFailure;
  host::TShiftState FButtons;
  // Modal forms are traced as "modal" alone; their own show and hide are not effects of their own.
  std::set<const host::TForm*> FModalForms;
  // The dialogs open for the script's lines, the one in front last.
  std::vector<const host::TForm*> FOpenDialogs;
};

}  // namespace mebrox
