#include "apps/headless/HeadlessRun.h"

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <utility>

#include "apps/headless/ScriptVerb.h"
#include "host/ShellApi.h"
#include "host/StdCtrls.h"

namespace mebrox {

namespace fs = std::filesystem;
using host::EParserError;
using host::TForm;

namespace {

// The caption of a label, read through its published property so that kit labels which
// publish their own Caption are read the same way.
bool LabelCaption(const host::TComponent* component, std::string& caption) {
  if (!dynamic_cast<const host::TLabel*>(component)) return false;
  const host::TPropInfo* prop = component->ClassInfo().FindProperty("Caption");
  if (!prop || !prop->GetStr) return false;
  caption = prop->GetStr(*component);
  return true;
}

bool FindLabelAmongControls(const host::TWinControl& parent, std::string& caption) {
  for (int i = 0; i < parent.ControlCount(); ++i) {
    const host::TControl* control = parent.Controls(i);
    if (LabelCaption(control, caption)) return true;
    if (auto* w = dynamic_cast<const host::TWinControl*>(control))
      if (FindLabelAmongControls(*w, caption)) return true;
  }
  return false;
}

}  // namespace

std::string QuoteTraceString(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    auto u = static_cast<unsigned char>(c);
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (u < 0x20 || u == 0x7F) {
          // Three octal digits: unlike \x, a following digit can never be taken into it.
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\%03o", u);
          out += buf;
        } else {
          out += c;
        }
    }
  }
  out += '"';
  return out;
}

std::string DescribeFont(const host::TFont& font) {
  std::string text = QuoteTraceString(font.Name()) + " " + std::to_string(font.Size());
  const char* styles[] = {"bold", "italic", "underline", "strikeout"};
  for (int i = 0; i < 4; ++i)
    if (font.Style().Contains(static_cast<host::TFontStyle>(i)))
      text += std::string(" ") + styles[i];
  return text + " " + host::ColorToString(font.Color());
}

std::string ModalFormText(const TForm& form) {
  std::string caption;
  for (const host::TComponent* c : form.ComponentList())
    if (LabelCaption(c, caption)) return caption;
  if (FindLabelAmongControls(form, caption)) return caption;
  return std::string();
}

THeadlessRun::THeadlessRun(std::ostream& trace, THeadlessOptions options)
    : FTrace(trace), FOptions(std::move(options)) {
  if (!FOptions.ScreenshotDir.empty()) {
    std::error_code ec;
    fs::create_directories(FOptions.ScreenshotDir, ec);
    if (ec || !fs::is_directory(FOptions.ScreenshotDir))
      throw host::EInOutError("Cannot make the screenshot folder " + FOptions.ScreenshotDir +
                              (ec ? ": " + ec.message() : std::string()));
  }

  auto dialogs = std::make_unique<host::TScriptedDialogs>();
  FDialogs = dialogs.get();
  FDialogs->OnMessage = [this](const host::TScriptedDialogs::TShown& shown) {
    Trace("message " + QuoteTraceString(shown.Message) + " -> " +
          host::ModalResultName(shown.Answer));
  };
  FDialogs->OnError = [this](const std::string& text) { Trace("error " + QuoteTraceString(text)); };
  FDialogs->OnFile = [this](const host::TFileDialogRequest& request,
                            const std::vector<std::string>& answer) {
    std::string chosen;
    for (const std::string& file : answer) chosen += " " + QuoteTraceString(file);
    Trace(std::string(request.Save ? "file save " : "file open ") +
          QuoteTraceString(request.Title) + " ->" + (answer.empty() ? " cancel" : chosen));
  };
  FDialogs->OnFont = [this](const host::TFont& from, const host::TFont* chosen) {
    Trace("font " + DescribeFont(from) + " -> " + (chosen ? DescribeFont(*chosen) : "cancel"));
  };
  FDialogs->OnColor = [this](host::TColor from, const host::TColor* chosen) {
    Trace("color " + host::ColorToString(from) + " -> " +
          (chosen ? host::ColorToString(*chosen) : "cancel"));
  };
  FDialogs->OnPopup = [this](const host::TPopupRequest& request, const host::TPopupEntry* chosen) {
    Trace("popup " + request.MenuName + " -> " +
          (chosen ? QuoteTraceString(host::StripAccelerator(chosen->Caption)) : "none"));
  };
  host::SetDialogService(std::move(dialogs));

  auto clock = std::make_unique<host::TManualClock>();
  FClock = clock.get();
  host::Mci().SetClock(std::move(clock));

  host::TApplicationEvents& events = host::Application->Events;
  events.FormShown = [this](TForm& form) { OnFormShown(form); };
  events.FormHidden = [this](TForm& form) { OnFormHidden(form); };
  events.FormClosed = [this](TForm& form) { Trace("close " + form.ClassName()); };
  events.Terminated = [this] { Trace("terminate"); };
  events.KeyStopFocused = [this](TForm& form, host::TControl& control, int index) {
    std::string name = control.KeyStopName(index);
    Trace("focus " + form.ClassName() + " " + control.Name() +
          (name.empty() ? "" : " " + QuoteTraceString(name)));
  };
  host::Application->ModalHook = [this](TForm& form) { OnModal(form); };
  host::Screen->OnCursorChanged = [this](host::TCursor cursor) {
    Trace("cursor " + std::to_string(cursor));
  };
  host::MciObserver() = [this](const std::string& command, int result) {
    Trace("mci " + QuoteTraceString(command) + " -> " + std::to_string(result));
  };
  host::ShellExecuteObserver() = [this](const host::TShellExecuteRecord& r) {
    Trace("exec " + QuoteTraceString(r.File) + " " + QuoteTraceString(r.Params) + " " +
          QuoteTraceString(r.Directory) + " -> " + std::to_string(r.Result));
  };
}

THeadlessRun::~THeadlessRun() {
  host::Application->Events = {};
  host::Application->ModalHook = nullptr;
  host::Screen->OnCursorChanged = nullptr;
  host::MciObserver() = nullptr;
  host::ShellExecuteObserver() = nullptr;
  if (&host::DialogService() == FDialogs) {
    FDialogs->OnMessage = nullptr;
    FDialogs->OnError = nullptr;
    FDialogs->OnFile = nullptr;
    FDialogs->OnPopup = nullptr;
    FDialogs->OnFont = nullptr;
    FDialogs->OnColor = nullptr;
  }
  if (&host::Mci().Clock() == FClock) host::Mci().SetClock(nullptr);
}

void THeadlessRun::Trace(const std::string& line) {
  FTrace << line << '\n' << std::flush;
}

void THeadlessRun::OnFormShown(TForm& form) {
  if (form.Modal()) {
    FModalForms.insert(&form);
    return;
  }
  Trace("show " + form.ClassName());
  if (!FOptions.ScreenshotDir.empty()) SaveShot(form);
}

void THeadlessRun::OnFormHidden(TForm& form) {
  if (FModalForms.erase(&form)) return;
  Trace("hide " + form.ClassName());
}

std::string THeadlessRun::ModalText(const TForm& form) const {
  if (FOptions.ModalFormsStayOpen && !form.Caption().empty()) return form.Caption();
  return ModalFormText(form);
}

void THeadlessRun::OnModal(TForm& form) {
  std::string text = ModalText(form);
  Trace("modal " + form.ClassName() + (text.empty() ? "" : " " + QuoteTraceString(text)));
  host::Application->ProcessMessages();
  if (!FOptions.ScreenshotDir.empty()) SaveShot(form);
  if (!FOptions.ModalFormsStayOpen) {
    // Nobody is there to answer it; closing it is what the window's close box would do.
    form.Close();
    return;
  }
  // The script's next lines work the dialog until one of them closes it.
  FOpenDialogs.push_back(&form);
  while (form.ModalResult() == host::mrNone && form.Visible() && !FScriptError && RunNext()) {
  }
  FOpenDialogs.pop_back();
  host::TModalResult result =
      form.ModalResult() == host::mrNone ? host::mrCancel : form.ModalResult();
  Trace("closed " + form.ClassName() + " -> " + host::ModalResultName(result));
}

void THeadlessRun::SaveShot(TForm& form) {
  char number[16];
  std::snprintf(number, sizeof number, "%03d", ++FShotCount);
  std::string fileName =
      (fs::path(FOptions.ScreenshotDir) / (std::string(number) + "-" + form.ClassName() + ".png"))
          .string();
  try {
    host::SaveFormImage(form, fileName);
  } catch (const std::exception& e) {
    // This runs inside the application's own code (a frame being shown), which must not see
    // our failure; the run stops after the current line instead.
    if (FFailure.empty()) FFailure = "Cannot save " + fileName + ": " + e.what();
  }
}

void THeadlessRun::Start() {
  TForm* main = host::Application->MainForm();
  if (main && !main->Visible()) host::HandleEvents([main] { main->Show(); });
  host::Application->ProcessMessages();
}

void THeadlessRun::Execute(const std::vector<TScriptCommand>& script,
                           const std::string& scriptName) {
  FScript = &script;
  FNext = 0;
  FScriptName = scriptName;
  FScriptError = nullptr;
  while (RunNext()) {
  }
  FScript = nullptr;
  if (FScriptError) std::rethrow_exception(std::exchange(FScriptError, nullptr));
}

int THeadlessRun::RunScript(const std::vector<TScriptCommand>& script,
                            const std::string& scriptName, const std::string& program) {
  Start();
  try {
    Execute(script, scriptName);
  } catch (const EParserError& e) {
    std::cerr << program << ": " << e.what() << '\n';
    return 2;
  }
  if (!FFailure.empty()) {
    std::cerr << program << ": " << FFailure << '\n';
    return 1;
  }
  return 0;
}

bool THeadlessRun::RunNext() {
  if (!FScript || FNext >= FScript->size() || FScriptError) return false;
  if (host::Application->Terminated() || !FFailure.empty()) return false;
  const TScriptCommand& command = (*FScript)[FNext++];
  try {
    ExecuteOne(command);
  } catch (const EParserError&) {
    FScriptError = std::current_exception();
  }
  if (!FScriptError && AfterCommand) AfterCommand(command);
  return !FScriptError;
}

size_t THeadlessRun::QueueLeadingAnswers(const std::vector<TScriptCommand>& script) {
  size_t count = 0;
  for (; count < script.size() && script[count].Verb == svAnswer; ++count)
    FDialogs->QueueAnswer(script[count].Answer);
  return count;
}

void THeadlessRun::FailRun(const TScriptCommand& command, const std::string& why) {
  if (FFailure.empty()) FFailure = FScriptName + "(" + std::to_string(command.Line) + "): " + why;
}

void THeadlessRun::AsEvent(const std::function<void()>& fn) {
  host::HandleEvents(fn);
  if (FScriptError) std::rethrow_exception(FScriptError);
}

void THeadlessRun::Fail(const TScriptCommand& command, const std::string& message) const {
  throw EParserError(FScriptName, command.Line, message);
}

TForm& THeadlessRun::FindForm(const TScriptCommand& command) const {
  for (int i = 0; i < host::Screen->FormCount(); ++i) {
    TForm* form = host::Screen->Forms(i);
    if (host::SameText(form->Name(), command.Form)) return *form;
  }
  Fail(command, "There is no form named " + command.Form);
}

host::TComponent& THeadlessRun::FindComponent(const TScriptCommand& command) const {
  TForm& form = FindForm(command);
  if (command.Control.empty()) return form;
  host::TComponent* component = form.FindComponent(command.Control);
  if (!component)
    Fail(command, "Form " + form.Name() + " has no component named " + command.Control);
  return *component;
}

void THeadlessRun::CheckNotBehindDialog(const TScriptCommand& command, const TForm& form) const {
  if (!FOpenDialogs.empty() && FOpenDialogs.back() != &form)
    Fail(command, form.Name() + " is behind the open dialog " + FOpenDialogs.back()->Name() +
                      ": close the dialog first");
}

host::TControl& THeadlessRun::FindReachableControl(const TScriptCommand& command) const {
  host::TComponent& component = FindComponent(command);
  CheckNotBehindDialog(command, FindForm(command));
  auto* control = dynamic_cast<host::TControl*>(&component);
  if (!control || control == &FindForm(command))
    Fail(command, command.Control + " is not a control");
  if (!control->Showing()) Fail(command, command.Control + " is not showing");
  for (const host::TControl* c = control; c; c = c->Parent())
    if (!c->Enabled()) Fail(command, command.Control + " is disabled");
  return *control;
}

std::string THeadlessRun::ResolvePath(const std::string& fileName) const {
  fs::path path(fileName);
  if (path.is_relative()) path = fs::path(FOptions.StartDir) / path;
  return path.string();
}

void THeadlessRun::Pointer(const TScriptCommand& command, TForm& form, host::TPoint point,
                           host::TMouseEventRecord::TKind kind) {
  host::TShiftStateFlag flag = command.Button == host::mbRight ? host::ssRight : host::ssLeft;
  // As from the toolkit: a press already counts its button as held, a release no longer does.
  if (kind == host::TMouseEventRecord::Down) FButtons.Include(flag);
  if (kind == host::TMouseEventRecord::Up) FButtons.Exclude(flag);
  host::TMouseEventRecord event;
  event.Kind = kind;
  event.Button = command.Button;
  event.Shift = FButtons;
  event.Pos = point;
  AsEvent([&] { form.DispatchMouse(event); });
  host::Application->ProcessMessages();
}

void THeadlessRun::ExecuteOne(const TScriptCommand& command) {
  if (!command.Info || !command.Info->Run) Fail(command, "This program cannot do that");
  command.Info->Run(*this, command);
}

}  // namespace mebrox
