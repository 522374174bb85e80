#include "apps/headless/HeadlessRun.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <utility>

#include "host/EditCtrls.h"
#include "host/ListCtrls.h"
#include "host/Outline.h"
#include "host/ShellApi.h"
#include "host/StdCtrls.h"
#include "host/TabCtrls.h"
#include "runtime/HyperTxt.h"

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

host::TPoint THeadlessRun::HotWordPoint(const TScriptCommand& command, host::TControl& control) {
  auto* text = dynamic_cast<THyperTxt*>(&control);
  if (!text) Fail(command, command.Control + " is not a hot text, so it has no hot words");
  if (!control.Showing()) Fail(command, command.Control + " is not showing");
  // The word-position table is the last paint's: let a changed text be painted first.
  host::Application->ProcessMessages();
  std::string word = command.HotWord.substr(command.HotWord.find_first_not_of(' '));
  // Only the slots the last paint finished.
  int last = text->SlotCount() - 1;
  std::vector<std::string> shown;
  for (int i = 0; i <= last; ++i) {
    const TWordPos& slot = text->WordPos(i);
    if (slot.Word == word) {
      host::TPoint middle{(slot.Left + slot.Right) / 2, (slot.Top + slot.Bottom) / 2};
      if (middle.X <= 0 || middle.Y <= 0 || middle.X >= control.Width() ||
          middle.Y >= control.Height())
        Fail(command, command.Control + " draws the hot word " + QuoteTraceString(word) +
                          " outside its bounds, where no pointer reaches it");
      return middle;
    }
    if (std::find(shown.begin(), shown.end(), slot.Word) == shown.end()) shown.push_back(slot.Word);
  }
  std::string problem = command.Control + " shows no hot word " + QuoteTraceString(word);
  for (const std::string& s : shown)
    if (host::SameText(s, word))
      Fail(command,
           problem + " (hot words are case-sensitive: it shows " + QuoteTraceString(s) + ")");
  if (shown.empty()) Fail(command, problem + "; it shows no hot words at all");
  std::string list;
  for (const std::string& s : shown) list += (list.empty() ? "" : ", ") + QuoteTraceString(s);
  Fail(command, problem + "; it shows " + list);
}

// Splits text into its characters (UTF-8 sequences kept whole).
static std::vector<std::string> Characters(const std::string& text) {
  std::vector<std::string> out;
  for (size_t i = 0; i < text.size();) {
    size_t n = 1;
    while (i + n < text.size() && (static_cast<unsigned char>(text[i + n]) & 0xC0) == 0x80) ++n;
    out.push_back(text.substr(i, n));
    i += n;
  }
  return out;
}

void THeadlessRun::TypeText(const TScriptCommand& command) {
  auto* control = dynamic_cast<host::TWinControl*>(&FindReachableControl(command));
  if (!control) Fail(command, command.Control + " takes no typing");
  AsEvent([&] {
    if (!control->Focused()) control->SetFocus();
  });
  for (const std::string& c : Characters(command.Text)) {
    host::TKeyEventRecord key;
    unsigned char first = static_cast<unsigned char>(c[0]);
    if (c.size() == 1 && std::isalnum(first)) key.Key = std::toupper(first);
    if (c == " ") key.Key = host::VK_SPACE;
    if (c.size() == 1 && std::isupper(first)) key.Shift.Include(host::ssShift);
    key.Text = c;
    // Each key goes to whatever has the keyboard now: typing may move it.
    TForm* form = host::GetParentForm(control);
    host::TWinControl* target = form && form->ActiveControl() ? form->ActiveControl() : control;
    AsEvent([&] { target->PerformKey(key); });
    key.Kind = host::TKeyEventRecord::Up;
    key.Text.clear();
    AsEvent([&] { target->PerformKey(key); });
    if (host::Application->Terminated()) return;
  }
  host::Application->ProcessMessages();
}

void THeadlessRun::PressKey(const TScriptCommand& command) {
  TForm& form = FindForm(command);
  if (!form.Visible()) Fail(command, "Form " + form.Name() + " is not showing");
  CheckNotBehindDialog(command, form);
  host::TWinControl* target = &form;
  if (!command.Control.empty()) {
    target = dynamic_cast<host::TWinControl*>(&FindReachableControl(command));
    if (!target) Fail(command, command.Control + " takes no keys");
    AsEvent([&] {
      if (!target->Focused()) target->SetFocus();
    });
  } else if (form.ActiveControl()) {
    target = form.ActiveControl();
  }
  host::TKeyEventRecord key = command.Key;
  AsEvent([&] { target->PerformKey(key); });
  // The release goes where the keyboard is now, as a real one would.
  key.Kind = host::TKeyEventRecord::Up;
  key.Text.clear();
  if (!host::Application->Terminated() && IsOpen(&form)) {
    host::TWinControl* now = form.ActiveControl() ? form.ActiveControl() : &form;
    AsEvent([&] { now->PerformKey(key); });
  }
  host::Application->ProcessMessages();
}

namespace {

// The position of an item by its text: exactly as written, else ignoring case; -1 if none.
int FindItem(const std::vector<std::string>& items, const std::string& text) {
  for (size_t i = 0; i < items.size(); ++i)
    if (items[i] == text) return static_cast<int>(i);
  for (size_t i = 0; i < items.size(); ++i)
    if (host::SameText(host::Trim(items[i]), text)) return static_cast<int>(i);
  return -1;
}

}  // namespace

void THeadlessRun::SelectItem(const TScriptCommand& command) {
  host::TControl& control = FindReachableControl(command);
  std::vector<std::string> items;
  auto* list = dynamic_cast<host::TCustomListBox*>(&control);
  auto* tabs = dynamic_cast<host::TTabSet*>(&control);
  auto* outline = dynamic_cast<host::TOutline*>(&control);
  if (list) {
    items = list->Items().Items();
  } else if (tabs) {
    items = tabs->Tabs().Items();
  } else if (outline) {
    for (int i = 1; i <= outline->ItemCount(); ++i) items.push_back(outline->Items(i).Text);
  } else if (dynamic_cast<host::TCustomEdit*>(&control)) {
    SelectText(command, control);
    return;
  } else {
    Fail(command, command.Control + " is not a list");
  }
  int index = command.Index;
  if (command.Text.empty() && (index < 0 || index >= static_cast<int>(items.size())))
    Fail(command, command.Control + " has no item " + std::to_string(index));
  if (!command.Text.empty()) index = FindItem(items, command.Text);
  if (index < 0) Fail(command, command.Control + " has no item " + QuoteTraceString(command.Text));
  auto* window = dynamic_cast<host::TWinControl*>(&control);
  AsEvent([&] { window->WidgetChanged({host::TWidgetChange::wcItemIndex, {}, index}); });
  host::Application->ProcessMessages();
}

void THeadlessRun::SelectText(const TScriptCommand& command, host::TControl& control) {
  auto& edit = static_cast<host::TCustomEdit&>(control);
  // As a user drags over the text: the first place it stands.
  size_t at = edit.EditText().find(command.Text);
  if (at == std::string::npos)
    Fail(command, command.Control + " has no text " + QuoteTraceString(command.Text));
  AsEvent([&] {
    if (!edit.Focused()) edit.SetFocus();
    // The widget shows the selection, so that typing replaces it...
    edit.SetSelStart(static_cast<int>(at));
    edit.SetSelLength(static_cast<int>(command.Text.size()));
    // ...and the control hears of it as from the user.
    edit.WidgetChanged({host::TWidgetChange::wcSelection,
                        {},
                        static_cast<int>(at),
                        static_cast<int>(command.Text.size())});
  });
  host::Application->ProcessMessages();
}

void THeadlessRun::ChooseMenu(const TScriptCommand& command) {
  host::TControl& control = FindReachableControl(command);
  TForm& form = FindForm(command);
  FDialogs->QueueMenuChoice(command.Text);
  // A right click in the middle of the control opens its menu.
  TScriptCommand click = command;
  click.Button = host::mbRight;
  const host::TPoint origin = control.OriginIn(&form);
  host::TPoint point{origin.X + control.Width() / 2, origin.Y + control.Height() / 2};
  Pointer(click, form, point, host::TMouseEventRecord::Down);
  Pointer(click, form, point, host::TMouseEventRecord::Up);
  if (FDialogs->PendingMenuChoices() > 0) {
    FDialogs->ClearMenuChoices();
    Fail(command, command.Control + " has no popup menu");
  }
  if (!FDialogs->LastMenuChoiceFound())
    Fail(command, "The popup menu has no entry " + QuoteTraceString(command.Text));
}

void THeadlessRun::CheckControl(const TScriptCommand& command) {
  host::TControl& control = FindReachableControl(command);
  auto* check = dynamic_cast<host::TCheckBox*>(&control);
  auto* radio = dynamic_cast<host::TRadioButton*>(&control);
  if (!check && !radio)
    Fail(command, command.Control + " is neither a check box nor a radio button");
  AsEvent([&] {
    static_cast<host::TWinControl&>(control).WidgetChanged(
        {host::TWidgetChange::wcState, {}, command.Checked ? 1 : 0});
  });
  host::Application->ProcessMessages();
}

void THeadlessRun::ExecuteOne(const TScriptCommand& command) {
  switch (command.Verb) {
    case svAnswer:
      FDialogs->QueueAnswer(command.Answer);
      return;
    case svFile: {
      std::vector<std::string> files;
      for (const std::string& file : command.Files) files.push_back(ResolvePath(file));
      FDialogs->QueueFiles(std::move(files));
      return;
    }
    case svMenu:
      ChooseMenu(command);
      return;
    case svFont: {
      host::TFont font;
      font.SetName(command.FontName);
      font.SetSize(command.FontSize);
      font.SetStyle(command.FontStyle);
      font.SetColor(command.FontColor);
      FDialogs->QueueFont(font);
      return;
    }
    case svColor:
      FDialogs->QueueColor(command.Color);
      return;
    case svWait:
      FClock->Advance(command.Milliseconds);
      host::Application->ProcessMessages();
      return;
    case svScreenshot: {
      TForm& form = FindForm(command);
      std::string fileName = ResolvePath(command.FileName);
      try {
        host::SaveFormImage(form, fileName);
      } catch (const std::exception& e) {
        FailRun(command, "Cannot save " + fileName + ": " + e.what());
      }
      return;
    }
    case svType:
      TypeText(command);
      return;
    case svKey:
      PressKey(command);
      return;
    case svSelect:
      SelectItem(command);
      return;
    case svCheck:
      CheckControl(command);
      return;
    case svMove:
    case svDown:
    case svUp:
    case svClick:
      break;
    default:
      Fail(command, "This program cannot do that");
  }

  TForm& form = FindForm(command);
  if (!form.Visible()) Fail(command, "Form " + form.Name() + " is not showing");
  CheckNotBehindDialog(command, form);
  host::TPoint point{command.X, command.Y};
  if (!command.Control.empty()) {
    host::TComponent* component = form.FindComponent(command.Control);
    if (!component)
      Fail(command, "Form " + form.Name() + " has no component named " + command.Control);
    auto* control = dynamic_cast<host::TControl*>(component);
    if (!control) Fail(command, command.Control + " is not a control");
    // A person cannot point at what is hidden or disabled; a designer can, on a designed frame.
    if (!form.IsDesigning()) FindReachableControl(command);
    if (!command.HotWord.empty()) point = HotWordPoint(command, *control);
    const host::TControl* c = control;
    while (c && c != &form) c = c->Parent();
    if (!c) Fail(command, command.Control + " is not placed on form " + form.Name());
    // Client point of the control to client point of the form.
    const host::TPoint origin = control->OriginIn(&form);
    point = {point.X + origin.X, point.Y + origin.Y};
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
