#include "apps/headless/RunVerbs.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <limits>
#include <utility>

#include "apps/headless/HeadlessRun.h"
#include "host/EditCtrls.h"
#include "host/ListCtrls.h"
#include "host/Outline.h"
#include "host/StdCtrls.h"
#include "host/SysUtils.h"
#include "host/TabCtrls.h"
#include "runtime/HyperTxt.h"

namespace mebrox {

namespace {

using host::SameText;
using host::TForm;
using TKind = host::TMouseEventRecord::TKind;

// The longest single wait: about 24 days, far beyond any sound, and safe to add up.
constexpr int64_t MaxWaitMs = std::numeric_limits<int32_t>::max();

bool IsOpen(const TForm* form) {
  for (int i = 0; i < host::Screen->FormCount(); ++i)
    if (host::Screen->Forms(i) == form) return true;
  return false;
}

// ---- the pointer

// A quoted third word names a hot word: scripts that point at words by name survive a change
// of font or text.
void ReadPointer(const TScriptWords& words, TScriptCommand& c) {
  bool byWord = words.Count() >= 3 && words.Quoted(2);
  size_t count = byWord ? 3 : 4;
  if (words.Count() < count || words.Count() > count + 1) words.Usage();
  if (byWord) {
    words.ReadControl(1, c);
    c.HotWord = words[2];
    if (c.HotWord.find_first_not_of(' ') == std::string::npos)
      words.Error("Hot word expected between the quotes");
  } else {
    words.ReadTarget(1, c);
    c.X = words.ReadInt(2, "X");
    c.Y = words.ReadInt(3, "Y");
  }
  if (words.Count() == count + 1) {
    if (SameText(words[count], "right"))
      c.Button = host::mbRight;
    else if (!SameText(words[count], "left"))
      words.Error("'right' expected instead of '" + words[count] + "'");
  }
}

// The middle of the first place a hot text shows the command's hot word, in the control's
// client pixels; a word it does not show fails at the command's line.
host::TPoint HotWordPoint(THeadlessRun& run, const TScriptCommand& command,
                          host::TControl& control) {
  auto* text = dynamic_cast<THyperTxt*>(&control);
  if (!text) run.Fail(command, command.Control + " is not a hot text, so it has no hot words");
  if (!control.Showing()) run.Fail(command, command.Control + " is not showing");
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
        run.Fail(command, command.Control + " draws the hot word " + QuoteTraceString(word) +
                              " outside its bounds, where no pointer reaches it");
      return middle;
    }
    if (std::find(shown.begin(), shown.end(), slot.Word) == shown.end()) shown.push_back(slot.Word);
  }
  std::string problem = command.Control + " shows no hot word " + QuoteTraceString(word);
  for (const std::string& s : shown)
    if (SameText(s, word))
      run.Fail(command,
               problem + " (hot words are case-sensitive: it shows " + QuoteTraceString(s) + ")");
  if (shown.empty()) run.Fail(command, problem + "; it shows no hot words at all");
  std::string list;
  for (const std::string& s : shown) list += (list.empty() ? "" : ", ") + QuoteTraceString(s);
  run.Fail(command, problem + "; it shows " + list);
}

// The form a pointer line points at, and the point in its client area.
std::pair<TForm*, host::TPoint> PointerTarget(THeadlessRun& run, const TScriptCommand& command) {
  TForm& form = run.FindForm(command);
  if (!form.Visible()) run.Fail(command, "Form " + form.Name() + " is not showing");
  run.CheckNotBehindDialog(command, form);
  host::TPoint point{command.X, command.Y};
  if (command.Control.empty()) return {&form, point};
  host::TComponent* component = form.FindComponent(command.Control);
  if (!component)
    run.Fail(command, "Form " + form.Name() + " has no component named " + command.Control);
  auto* control = dynamic_cast<host::TControl*>(component);
  if (!control) run.Fail(command, command.Control + " is not a control");
  // A person cannot point at what is hidden or disabled; a designer can, on a designed frame.
  if (!form.IsDesigning()) run.FindReachableControl(command);
  if (!command.HotWord.empty()) point = HotWordPoint(run, command, *control);
  const host::TControl* c = control;
  while (c && c != &form) c = c->Parent();
  if (!c) run.Fail(command, command.Control + " is not placed on form " + form.Name());
  // Client point of the control to client point of the form.
  const host::TPoint origin = control->OriginIn(&form);
  return {&form, {point.X + origin.X, point.Y + origin.Y}};
}

void PointerEvent(THeadlessRun& run, const TScriptCommand& command, TKind kind) {
  auto [form, point] = PointerTarget(run, command);
  run.Pointer(command, *form, point, kind);
}

void Click(THeadlessRun& run, const TScriptCommand& command) {
  auto [form, point] = PointerTarget(run, command);
  run.Pointer(command, *form, point, host::TMouseEventRecord::Down);
  if (!host::Application->Terminated() && IsOpen(form))
    run.Pointer(command, *form, point, host::TMouseEventRecord::Up);
}

// ---- the keyboard

// Splits text into its characters (UTF-8 sequences kept whole).
std::vector<std::string> Characters(const std::string& text) {
  std::vector<std::string> out;
  for (size_t i = 0; i < text.size();) {
    size_t n = 1;
    while (i + n < text.size() && (static_cast<unsigned char>(text[i + n]) & 0xC0) == 0x80) ++n;
    out.push_back(text.substr(i, n));
    i += n;
  }
  return out;
}

void TypeText(THeadlessRun& run, const TScriptCommand& command) {
  auto* control = dynamic_cast<host::TWinControl*>(&run.FindReachableControl(command));
  if (!control) run.Fail(command, command.Control + " takes no typing");
  run.AsEvent([&] {
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
    run.AsEvent([&] { target->PerformKey(key); });
    key.Kind = host::TKeyEventRecord::Up;
    key.Text.clear();
    run.AsEvent([&] { target->PerformKey(key); });
    if (host::Application->Terminated()) return;
  }
  host::Application->ProcessMessages();
}

void PressKey(THeadlessRun& run, const TScriptCommand& command) {
  TForm& form = run.FindForm(command);
  if (!form.Visible()) run.Fail(command, "Form " + form.Name() + " is not showing");
  run.CheckNotBehindDialog(command, form);
  host::TWinControl* target = &form;
  if (!command.Control.empty()) {
    target = dynamic_cast<host::TWinControl*>(&run.FindReachableControl(command));
    if (!target) run.Fail(command, command.Control + " takes no keys");
    run.AsEvent([&] {
      if (!target->Focused()) target->SetFocus();
    });
  } else if (form.ActiveControl()) {
    target = form.ActiveControl();
  }
  host::TKeyEventRecord key = command.Key;
  run.AsEvent([&] { target->PerformKey(key); });
  // The release goes where the keyboard is now, as a real one would.
  key.Kind = host::TKeyEventRecord::Up;
  key.Text.clear();
  if (!host::Application->Terminated() && IsOpen(&form)) {
    host::TWinControl* now = form.ActiveControl() ? form.ActiveControl() : &form;
    run.AsEvent([&] { now->PerformKey(key); });
  }
  host::Application->ProcessMessages();
}

// ---- lists, edit fields, check boxes, popup menus

// The position of an item by its text: exactly as written, else ignoring case; -1 if none.
int FindItem(const std::vector<std::string>& items, const std::string& text) {
  for (size_t i = 0; i < items.size(); ++i)
    if (items[i] == text) return static_cast<int>(i);
  for (size_t i = 0; i < items.size(); ++i)
    if (SameText(host::Trim(items[i]), text)) return static_cast<int>(i);
  return -1;
}

void SelectText(THeadlessRun& run, const TScriptCommand& command, host::TCustomEdit& edit) {
  // As a user drags over the text: the first place it stands.
  size_t at = edit.EditText().find(command.Text);
  if (at == std::string::npos)
    run.Fail(command, command.Control + " has no text " + QuoteTraceString(command.Text));
  run.AsEvent([&] {
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

void SelectItem(THeadlessRun& run, const TScriptCommand& command) {
  host::TControl& control = run.FindReachableControl(command);
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
  } else if (auto* edit = dynamic_cast<host::TCustomEdit*>(&control)) {
    SelectText(run, command, *edit);
    return;
  } else {
    run.Fail(command, command.Control + " is not a list");
  }
  int index = command.Index;
  if (command.Text.empty() && (index < 0 || index >= static_cast<int>(items.size())))
    run.Fail(command, command.Control + " has no item " + std::to_string(index));
  if (!command.Text.empty()) index = FindItem(items, command.Text);
  if (index < 0)
    run.Fail(command, command.Control + " has no item " + QuoteTraceString(command.Text));
  auto* window = dynamic_cast<host::TWinControl*>(&control);
  run.AsEvent([&] { window->WidgetChanged({host::TWidgetChange::wcItemIndex, {}, index}); });
  host::Application->ProcessMessages();
}

void CheckControl(THeadlessRun& run, const TScriptCommand& command) {
  host::TControl& control = run.FindReachableControl(command);
  auto* check = dynamic_cast<host::TCheckBox*>(&control);
  auto* radio = dynamic_cast<host::TRadioButton*>(&control);
  if (!check && !radio)
    run.Fail(command, command.Control + " is neither a check box nor a radio button");
  run.AsEvent([&] {
    static_cast<host::TWinControl&>(control).WidgetChanged(
        {host::TWidgetChange::wcState, {}, command.Checked ? 1 : 0});
  });
  host::Application->ProcessMessages();
}

void ChooseMenu(THeadlessRun& run, const TScriptCommand& command) {
  host::TControl& control = run.FindReachableControl(command);
  TForm& form = run.FindForm(command);
  host::TScriptedDialogs& dialogs = run.Dialogs();
  dialogs.QueueMenuChoice(command.Text);
  // A right click in the middle of the control opens its menu.
  TScriptCommand click = command;
  click.Button = host::mbRight;
  const host::TPoint origin = control.OriginIn(&form);
  host::TPoint point{origin.X + control.Width() / 2, origin.Y + control.Height() / 2};
  run.Pointer(click, form, point, host::TMouseEventRecord::Down);
  run.Pointer(click, form, point, host::TMouseEventRecord::Up);
  if (dialogs.PendingMenuChoices() > 0) {
    dialogs.ClearMenuChoices();
    run.Fail(command, command.Control + " has no popup menu");
  }
  if (!dialogs.LastMenuChoiceFound())
    run.Fail(command, "The popup menu has no entry " + QuoteTraceString(command.Text));
}

// ---- properties

// A published ordinal as a form file writes it: True, clRed, alClient, [fsBold, fsItalic].
std::string OrdinalText(const host::TPropInfo& prop, int64_t value) {
  auto name = [&](size_t i) {
    return prop.Names && i < prop.Names->size() ? (*prop.Names)[i] : std::to_string(i);
  };
  switch (prop.Kind) {
    case host::TPropKind::Boolean:
      return value ? "True" : "False";
    case host::TPropKind::Color:
      return host::ColorToString(static_cast<host::TColor>(value));
    case host::TPropKind::Enumeration:
      return value < 0 ? std::to_string(value) : name(static_cast<size_t>(value));
    case host::TPropKind::Set: {
      std::string text;
      for (size_t i = 0; i < 32; ++i)
        if (static_cast<uint64_t>(value) & (uint64_t{1} << i))
          text += (text.empty() ? "" : ", ") + name(i);
      return "[" + text + "]";
    }
    default:
      return std::to_string(value);
  }
}

// Whether the property of the command holds its value: a text exactly, a number or a name
// ignoring case and blanks, as the form-file reader takes them.
void ExpectProperty(THeadlessRun& run, const TScriptCommand& command) {
  host::TComponent& component = run.FindComponent(command);
  TForm& form = run.FindForm(command);
  std::string owner = form.Name() + (&component == &form ? "" : "." + component.Name());
  host::TPersistent* object = &component;
  std::string rest = command.Property;
  const host::TPropInfo* prop = nullptr;
  for (;;) {
    size_t dot = rest.find('.');
    prop = object->ClassInfo().FindProperty(rest.substr(0, dot));
    if (!prop) run.Fail(command, owner + " has no property " + command.Property);
    if (dot == std::string::npos) break;
    object = prop->Kind == host::TPropKind::Class && prop->GetObject ? prop->GetObject(*object)
                                                                     : nullptr;
    if (!object) run.Fail(command, owner + " has no property " + command.Property);
    rest = rest.substr(dot + 1);
  }
  std::string value;
  bool text = prop->Kind == host::TPropKind::String;
  if (text && prop->GetStr) {
    value = prop->GetStr(*object);
  } else if (prop->Kind == host::TPropKind::Component && prop->GetComponent) {
    host::TComponent* target = prop->GetComponent(*object);
    value = target ? target->Name() : "";
  } else if (prop->IsOrdinal() && prop->GetOrd) {
    value = OrdinalText(*prop, prop->GetOrd(*object));
  } else {
    run.Fail(command, owner + "." + command.Property +
                          " is not one value: expect takes a number, a name or a text");
  }
  auto bare = [](std::string s) {
    std::erase(s, ' ');
    return s;
  };
  if (text ? value != command.Text : !SameText(bare(value), bare(command.Text)))
    run.Fail(command, owner + "." + command.Property + " is " + QuoteTraceString(value) + ", not " +
                          QuoteTraceString(command.Text));
}

// ---- the table

// The two ways a pointer line names where it points.
const char* const AtPoint = "FORM[.CONTROL] X Y [right]";
const char* const AtWord = "FORM.HYPERTXT \"WORD\" [right]";

}  // namespace

const TScriptVerbTable& RunVerbs() {
  static const TScriptVerbTable verbs = {
      {.Name = "move",
       .Verb = svMove,
       .Forms = {{"FORM[.CONTROL] X Y",
                  "the pointer moves to client point (X, Y) of the control (of the form without "
                  "CONTROL)"},
                 {"FORM.HYPERTXT \"WORD\"",
                  "the pointer moves to the middle of the first place the hot text shows that "
                  "hot word"}},
       .Parse = ReadPointer,
       .Run = [](THeadlessRun& run,
                 const TScriptCommand& c) { PointerEvent(run, c, host::TMouseEventRecord::Move); }},
      {.Name = "down",
       .Verb = svDown,
       .Forms = {{AtPoint,
                  "button press (left unless `right`); a hot word acts on the press, of either "
                  "button, so `down` on a hot word acts and the `up` after it does nothing more"},
                 {AtWord, "button press on the hot word"}},
       .Parse = ReadPointer,
       .Run = [](THeadlessRun& run,
                 const TScriptCommand& c) { PointerEvent(run, c, host::TMouseEventRecord::Down); }},
      {.Name = "up",
       .Verb = svUp,
       .Forms = {{AtPoint,
                  "button release; a left release over the pressed control clicks, which is "
                  "when a hot image, hot area or bookmark acts"},
                 {AtWord, "button release on the hot word"}},
       .Parse = ReadPointer,
       .Run = [](THeadlessRun& run,
                 const TScriptCommand& c) { PointerEvent(run, c, host::TMouseEventRecord::Up); }},
      {.Name = "click",
       .Verb = svClick,
       .Forms = {{AtPoint, "down, then up"}, {AtWord, "a click on the hot word"}},
       .Parse = ReadPointer,
       .Run = Click},
      {.Name = "answer",
       .Verb = svAnswer,
       .Forms = {{"yes|no|ok|cancel",
                  "the answer for the next message box (else its default button)"}},
       .Parse =
           [](const TScriptWords& words, TScriptCommand& c) {
             words.Expect(2);
             const std::string& a = words[1];
             c.Answer = SameText(a, "yes")      ? host::mrYes
                        : SameText(a, "no")     ? host::mrNo
                        : SameText(a, "ok")     ? host::mrOk
                        : SameText(a, "cancel") ? host::mrCancel
                                                : host::mrNone;
             if (c.Answer == host::mrNone)
               words.Error("Answer must be yes, no, ok or cancel, not '" + a + "'");
           },
       .Run = [](THeadlessRun& run,
                 const TScriptCommand& c) { run.Dialogs().QueueAnswer(c.Answer); }},
      {.Name = "screenshot",
       .Verb = svScreenshot,
       .Forms = {{"FORM FILE.png", "the form as it looks now"}},
       .Parse =
           [](const TScriptWords& words, TScriptCommand& c) {
             words.Expect(3);
             c.Form = words.ReadName(1, "Form name");
             c.FileName = words[2];
             if (!SameText(host::ExtractFileExt(c.FileName), ".png") ||
                 host::ExtractFileName(c.FileName) == ".png")
               words.Error("Screenshot file name must end in .png: '" + c.FileName + "'");
           },
       .Run =
           [](THeadlessRun& run, const TScriptCommand& c) {
             TForm& form = run.FindForm(c);
             std::string fileName = run.ResolvePath(c.FileName);
             try {
               host::SaveFormImage(form, fileName);
             } catch (const std::exception& e) {
               run.FailRun(c, "Cannot save " + fileName + ": " + e.what());
             }
           }},
      {.Name = "wait",
       .Verb = svWait,
       .Forms = {{"MS", "let MS milliseconds pass; sound keeps playing"}},
       .Parse =
           [](const TScriptWords& words, TScriptCommand& c) {
             words.Expect(2);
             int64_t ms = 0;
             const std::string& w = words[1];
             auto [end, ec] = std::from_chars(w.data(), w.data() + w.size(), ms);
             if (ec != std::errc() || end != w.data() + w.size() || ms < 0 || ms > MaxWaitMs)
               words.Error("Milliseconds from 0 to " + std::to_string(MaxWaitMs) +
                           " expected, not '" + w + "'");
             c.Milliseconds = ms;
           },
       .Run =
           [](THeadlessRun& run, const TScriptCommand& c) {
             run.Clock().Advance(c.Milliseconds);
             host::Application->ProcessMessages();
           }},
      {.Name = "type",
       .Verb = svType,
       .Forms = {{"FORM.CONTROL \"TEXT\"", "the keys of TEXT typed into the control, one by one"}},
       .Parse =
           [](const TScriptWords& words, TScriptCommand& c) {
             words.Expect(3);
             words.ReadControl(1, c);
             c.Text = words[2];
           },
       .Run = TypeText},
      {.Name = "key",
       .Verb = svKey,
       .Forms = {{"FORM[.CONTROL] KEY",
                  "one key: `Enter`, `Escape`, `Tab`, `Space`, `Backspace`, `Delete`, `Home`, "
                  "`End`, `PageUp`, `PageDown`, `Up`, `Down`, `Left`, `Right`, `F1` to `F12`, a "
                  "letter or digit, each after any of `Shift+`, `Ctrl+`, `Alt+` (`Shift+Tab`, "
                  "`Alt+O`); without CONTROL to whatever has the keyboard (on a frame: `key Form1 "
                  "Tab` moves the focus mark, `key Form1 Enter` acts on it)"}},
       .Parse =
           [](const TScriptWords& words, TScriptCommand& c) {
             words.Expect(3);
             words.ReadTarget(1, c);
             if (!ParseKeyName(words[2], c.Key)) words.Error("Unknown key '" + words[2] + "'");
           },
       .Run = PressKey},
      {.Name = "select",
       .Verb = svSelect,
       .Forms = {{"FORM.CONTROL \"ITEM\"|N",
                  "the item of that text in a list box, combo box, tab set or outline, or with "
                  "a bare number the item at position N (from 0); in an edit field or memo, "
                  "selects that text"}},
       .Parse =
           [](const TScriptWords& words, TScriptCommand& c) {
             words.Expect(3);
             words.ReadControl(1, c);
             // A bare number is a position; quoted, it is an item's text.
             if (words.IsNumber(2)) {
               c.Index = words.ReadInt(2, "Item number");
               if (c.Index < 0) words.Error("Item number must not be negative");
             } else {
               c.Text = words[2];
               if (c.Text.empty()) words.Error("Item text expected");
             }
           },
       .Run = SelectItem},
      {.Name = "check",
       .Verb = svCheck,
       .Forms = {{"FORM.CONTROL on|off", "ticks or clears a check box or radio button"}},
       .Parse =
           [](const TScriptWords& words, TScriptCommand& c) {
             words.Expect(3);
             words.ReadControl(1, c);
             if (SameText(words[2], "on"))
               c.Checked = true;
             else if (!SameText(words[2], "off"))
               words.Error("'on' or 'off' expected instead of '" + words[2] + "'");
           },
       .Run = CheckControl},
      {.Name = "file",
       .Verb = svFile,
       .Forms = {{"\"PATH\" [\"PATH\" ...]",
                  "the file (or files, for a dialog that takes several) the next file dialog "
                  "chooses; none queued: it is cancelled"}},
       .Parse =
           [](const TScriptWords& words, TScriptCommand& c) {
             if (words.Count() < 2) words.Usage();
             for (size_t i = 1; i < words.Count(); ++i) {
               if (words[i].empty()) words.Error("File name expected");
               c.Files.push_back(words[i]);
             }
           },
       .Run =
           [](THeadlessRun& run, const TScriptCommand& c) {
             std::vector<std::string> files;
             for (const std::string& file : c.Files) files.push_back(run.ResolvePath(file));
             run.Dialogs().QueueFiles(std::move(files));
           }},
      {.Name = "menu",
       .Verb = svMenu,
       .Forms = {{"FORM.CONTROL \"ITEM\"",
                  "a right click on the control and the entry of its popup menu"}},
       .Parse =
           [](const TScriptWords& words, TScriptCommand& c) {
             words.Expect(3);
             if (words[2].empty()) words.Usage();
             words.ReadControl(1, c);
             c.Text = words[2];
           },
       .Run = ChooseMenu},
      {.Name = "font",
       .Verb = svFont,
       .Forms = {{"\"NAME\" SIZE [bold] [italic] [underline] [strikeout] [COLOUR]",
                  "the font the next font dialog chooses (none queued: it is cancelled)"}},
       .Parse =
           [](const TScriptWords& words, TScriptCommand& c) {
             if (words.Count() < 3) words.Usage();
             c.FontName = words[1];
             c.FontSize = words.ReadInt(2, "Font size");
             if (c.FontSize <= 0) words.Error("Font size must be above 0");
             for (size_t i = 3; i < words.Count(); ++i) {
               const std::string& w = words[i];
               if (SameText(w, "bold"))
                 c.FontStyle.Include(host::fsBold);
               else if (SameText(w, "italic"))
                 c.FontStyle.Include(host::fsItalic);
               else if (SameText(w, "underline"))
                 c.FontStyle.Include(host::fsUnderline);
               else if (SameText(w, "strikeout"))
                 c.FontStyle.Include(host::fsStrikeOut);
               else if (!host::IdentToColor(w, c.FontColor))
                 words.Error("Font style or colour expected, not '" + w + "'");
             }
           },
       .Run =
           [](THeadlessRun& run, const TScriptCommand& c) {
             host::TFont font;
             font.SetName(c.FontName);
             font.SetSize(c.FontSize);
             font.SetStyle(c.FontStyle);
             font.SetColor(c.FontColor);
             run.Dialogs().QueueFont(font);
           }},
      {.Name = "color",
       .Verb = svColor,
       .Forms = {{"COLOUR",
                  "the colour the next colour dialog chooses: a name (`clRed`) or `$00BBGGRR` "
                  "(none queued: it is cancelled)"}},
       .Parse =
           [](const TScriptWords& words, TScriptCommand& c) {
             words.Expect(2);
             try {
               c.Color = host::StringToColor(words[1]);
             } catch (const host::EConvertError&) {
               words.Error("Colour expected, not '" + words[1] + "'");
             }
           },
       .Run = [](THeadlessRun& run,
                 const TScriptCommand& c) { run.Dialogs().QueueColor(c.Color); }},
      {.Name = "expect",
       .Forms = {{"FORM[.COMPONENT] PROPERTY VALUE",
                  "the property (after dots, a sub-property: `Font.Color`) holds VALUE as a "
                  "form file writes it: a number, `True`, `clRed`, `\"[fsBold, fsItalic]\"`, a "
                  "text, a component's name (names ignore case); else the run ends there with "
                  "exit code 2, the message naming both"}},
       .Parse =
           [](const TScriptWords& words, TScriptCommand& c) {
             words.Expect(4);
             words.ReadTarget(1, c);
             c.Property = words.ReadPath(2);
             c.Text = words[3];
           },
       .Run = ExpectProperty},
  };
  return verbs;
}

const TScriptDialect TScriptDialect::Run = {[]() -> const std::vector<const TScriptVerbTable*>& {
  static const std::vector<const TScriptVerbTable*> tables = {&RunVerbs()};
  return tables;
}};

}  // namespace mebrox
