#include "apps/run/HeadlessRun.h"

#include <cstdio>
#include <filesystem>

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

bool IsOpen(const TForm* form) {
  for (int i = 0; i < host::Screen->FormCount(); ++i)
    if (host::Screen->Forms(i) == form) return true;
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
  host::SetDialogService(std::move(dialogs));

  auto clock = std::make_unique<host::TManualClock>();
  FClock = clock.get();
  host::Mci().SetClock(std::move(clock));

  host::TApplicationEvents& events = host::Application->Events;
  events.FormShown = [this](TForm& form) { OnFormShown(form); };
  events.FormHidden = [this](TForm& form) { OnFormHidden(form); };
  events.FormClosed = [this](TForm& form) { Trace("close " + form.ClassName()); };
  events.Terminated = [this] { Trace("terminate"); };
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

void THeadlessRun::OnModal(TForm& form) {
  std::string text = ModalFormText(form);
  Trace("modal " + form.ClassName() + (text.empty() ? "" : " " + QuoteTraceString(text)));
  if (!FOptions.ScreenshotDir.empty()) SaveShot(form);
  // Nobody is there to answer it; closing it is what the window's close box would do.
  form.Close();
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
  for (const TScriptCommand& command : script) {
    if (host::Application->Terminated() || !FFailure.empty()) return;
    ExecuteOne(command, scriptName);
  }
}

TForm& THeadlessRun::FindForm(const TScriptCommand& command, const std::string& scriptName) const {
  for (int i = 0; i < host::Screen->FormCount(); ++i) {
    TForm* form = host::Screen->Forms(i);
    if (host::SameText(form->Name(), command.Form)) return *form;
  }
  throw EParserError(scriptName, command.Line, "There is no form named " + command.Form);
}

std::string THeadlessRun::ResolveOutput(const std::string& fileName) const {
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
  host::HandleEvents([&] { form.DispatchMouse(event); });
  host::Application->ProcessMessages();
}

void THeadlessRun::ExecuteOne(const TScriptCommand& command, const std::string& scriptName) {
  switch (command.Verb) {
    case svAnswer:
      FDialogs->QueueAnswer(command.Answer);
      return;
    case svWait:
      FClock->Advance(command.Milliseconds);
      host::Application->ProcessMessages();
      return;
    case svScreenshot: {
      TForm& form = FindForm(command, scriptName);
      std::string fileName = ResolveOutput(command.FileName);
      try {
        host::SaveFormImage(form, fileName);
      } catch (const std::exception& e) {
        FFailure = scriptName + "(" + std::to_string(command.Line) + "): Cannot save " + fileName +
                   ": " + e.what();
      }
      return;
    }
    case svMove:
    case svDown:
    case svUp:
    case svClick:
      break;
  }

  TForm& form = FindForm(command, scriptName);
  auto fail = [&](const std::string& message) -> void {
    throw EParserError(scriptName, command.Line, message);
  };
  if (!form.Visible()) fail("Form " + form.Name() + " is not showing");
  host::TPoint point{command.X, command.Y};
  if (!command.Control.empty()) {
    host::TComponent* component = form.FindComponent(command.Control);
    if (!component) fail("Form " + form.Name() + " has no component named " + command.Control);
    auto* control = dynamic_cast<host::TControl*>(component);
    if (!control) fail(command.Control + " is not a control");
    // Client point of the control to client point of the form: add up the chain of origins.
    const host::TControl* c = control;
    for (; c && c != &form; c = c->Parent()) {
      point.X += c->Left();
      point.Y += c->Top();
    }
    if (c != &form) fail(command.Control + " is not placed on form " + form.Name());
  }

  switch (command.Verb) {
    case svMove:
      Pointer(command, form, point, host::TMouseEventRecord::Move);
      break;
    case svDown:
      Pointer(command, form, point, host::TMouseEventRecord::Down);
      break;
    case svUp:
      Pointer(command, form, point, host::TMouseEventRecord::Up);
      break;
    default:
      Pointer(command, form, point, host::TMouseEventRecord::Down);
      if (!host::Application->Terminated() && IsOpen(&form))
        Pointer(command, form, point, host::TMouseEventRecord::Up);
      break;
  }
}

}  // namespace mebrox
