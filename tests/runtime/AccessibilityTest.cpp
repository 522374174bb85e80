// What a screen reader finds in a finished application: each component's role, name and what
// a press does; the hot words as links; presses that do what clicks do; focus that follows the
// keyboard's mark; and the same tree as Qt hands it to the accessibility bus.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QWidget>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "host/ExtCtrls.h"
#include "host/MetricCanvas.h"
#include "host/StdCtrls.h"
#include "host/qt/QtAccessible.h"
#include "host/qt/QtBackend.h"
#include "runtime/Bookmark.h"
#include "runtime/HyperImg.h"
#include "runtime/HyperTxt.h"
#include "runtime/Hyprarea.h"
#include "runtime/MsgDlgU.h"
#include "runtime/WavePaus.h"
#include "runtime/fxLbl.h"
#include "tests/runtime/RuntimeTestSupport.h"

using namespace host;
using namespace mebrox;
using testing_support::Frames;
using testing_support::PressKey;

namespace {

template <class T>
T& Place(TForm& frame, const std::string& name, TRect bounds) {
  auto* c = new T(&frame);
  c->SetName(name);
  c->SetParent(&frame);
  c->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
  return *c;
}

template <class T>
T& WithAction(T& control, TActionAttrs type, const std::string& target) {
  control.Action().SetActionType(type);
  control.Action().SetFrame(target);
  control.Action().SetFileToRun(target);
  control.Action().SetWaveComp(target);
  control.Action().SetDesc(target);
  return control;
}

struct Described {
  TAccessibleRole Role;
  std::string Name;
  std::string Description;
  bool Pressable;
};

Described Describe(const TControl& control) {
  TAccessibleInfo info = control.AccessibleInfo();
  return {info.Role, info.Name, info.Description, info.Pressable};
}

std::string Show(const Described& d) {
  return std::string(AccessibleRoleName(d.Role)) + " \"" + d.Name + "\" (" + d.Description + ")" +
         (d.Pressable ? " [press]" : "");
}

// Records what readers would be told, in place of the toolkit's bridge.
struct Told {
  std::vector<std::tuple<std::string, int, TAccessibleEvent>> Events;
  Told() {
    SetAccessibleNotifier([this](TControl& control, int child, TAccessibleEvent event) {
      if (event != TAccessibleEvent::Destroyed) Events.emplace_back(control.Name(), child, event);
    });
  }
  ~Told() { qt::InstallQtAccessibility(); }
  std::vector<std::pair<std::string, int>> Focus() const {
    std::vector<std::pair<std::string, int>> out;
    for (const auto& [name, child, event] : Events)
      if (event == TAccessibleEvent::Focus) out.emplace_back(name, child);
    return out;
  }
};

}  // namespace

TEST(AccessibilityTest, EachComponentIsReadAsWhatItIsNamedByItsHintElseByWhatItDoes) {
  Frames app(2);
  TForm& frame = app[1];
  frame.SetCaption("Welcome");
  app[2].SetCaption("Second");
  struct Row {
    const char* What;
    std::function<TControl&()> Make;
    std::string Expected;
  };
  const Row rows[] = {
      {"hot image, a note",
       [&]() -> TControl& {
         return WithAction(Place<THyperImage>(frame, "I1", {0, 0, 40, 40}), acDesc, "A note");
       },
       "button \"Shows a description\" (shows a description) [press]"},
      {"hot image to a frame, by its caption",
       [&]() -> TControl& {
         return WithAction(Place<THyperImage>(frame, "I2", {0, 0, 40, 40}), acFrame, "Form2");
       },
       "link \"Goes to Second\" (goes to Second) [press]"},
      {"hot image to a frame that is not there",
       [&]() -> TControl& {
         return WithAction(Place<THyperImage>(frame, "I3", {0, 0, 40, 40}), acFrame, " Form9 ");
       },
       "link \"Goes to Form9\" (goes to Form9) [press]"},
      {"hot image with a hint",
       [&]() -> TControl& {
         auto& image =
             WithAction(Place<THyperImage>(frame, "I4", {0, 0, 40, 40}), acWavePlay, "WavePlay1");
         image.SetHint("Sunset");
         return image;
       },
       "button \"Sunset\" (plays WavePlay1) [press]"},
      {"hot area running a program",
       [&]() -> TControl& {
         return WithAction(Place<THyperArea>(frame, "A1", {0, 0, 40, 40}), acExecute,
                           "tools/hello.sh");
       },
       "button \"Runs hello.sh\" (runs hello.sh) [press]"},
      {"hot area going back",
       [&]() -> TControl& {
         return WithAction(Place<THyperArea>(frame, "A2", {0, 0, 40, 40}), acClose, "");
       },
       "link \"Goes back\" (goes back) [press]"},
      {"hot area leaving with a bookmark",
       [&]() -> TControl& {
         return WithAction(Place<THyperArea>(frame, "A3", {0, 0, 40, 40}), acBookMark, "");
       },
       "button \"Sets a bookmark and leaves\" (sets a bookmark and leaves) [press]"},
      {"hot area that does nothing, by its name",
       [&]() -> TControl& {
         return WithAction(Place<THyperArea>(frame, "Ribbon", {0, 0, 40, 40}), acNone, "");
       },
       "button \"Ribbon\" () [press]"},
      {"bookmark",
       [&]() -> TControl& {
         return Place<TBookMark>(frame, "B1", {0, 0, 40, 40});
       },
       "button \"Bookmark\" (resumes where the bookmark was set) [press]"},
      {"pause button",
       [&]() -> TControl& {
         return Place<TWavePause>(frame, "P1", {0, 0, 25, 25});
       },
       "toggle button \"Pause\" (pauses the sounds of this frame) [press]"},
      {"effects label",
       [&]() -> TControl& {
         auto& label = Place<TfxLabel>(frame, "F1", {0, 0, 40, 40});
         label.SetCaption("The Tour");
         return label;
       },
       "static text \"The Tour\" ()"},
      {"label, without its accelerator mark",
       [&]() -> TControl& {
         auto& label = Place<TLabel>(frame, "L1", {0, 0, 40, 40});
         label.SetCaption("&Open");
         return label;
       },
       "static text \"Open\" ()"},
      {"shape: decoration",
       [&]() -> TControl& {
         return Place<TShape>(frame, "S1", {0, 0, 40, 40});
       },
       "none \"\" ()"},
      {"picture without a hint: decoration",
       [&]() -> TControl& {
         return Place<TImage>(frame, "G1", {0, 0, 40, 40});
       },
       "none \"\" ()"},
      {"picture with a hint",
       [&]() -> TControl& {
         auto& image = Place<TImage>(frame, "G2", {0, 0, 40, 40});
         image.SetHint("An island");
         return image;
       },
       "graphic \"An island\" ()"},
      {"frame", [&]() -> TControl& { return frame; }, "window \"Welcome\" ()"},
      {"description note",
       [&]() -> TControl& {
         auto* note = new TMsgDlg(&frame);
         note->MsgLbl().SetCaption("Hypertext: words that lead somewhere.");
         return *note;
       },
       "alert \"Hypertext: words that lead somewhere.\" ()"},
  };
  for (const Row& row : rows) EXPECT_EQ(Show(Describe(row.Make())), row.Expected) << row.What;
}

TEST(AccessibilityTest, HotWordsAreLinksInReadingOrderEachSayingWhatItDoesAWrappedWordOneLink) {
  Frames app(2);
  app[2].SetCaption("Second");
  TForm& frame = app[1];
  // On the metric surface each character is 10 pixels wide: "big word" breaks over two lines.
  auto& text = Place<THyperTxt>(frame, "Text", {0, 0, 100, 300});
  text.Font().SetSize(20);
  text.WordFont().SetSize(20);
  text.SetLines(TStringList{"xx big word", "note tune", "run back swap"});
  const std::vector<std::tuple<std::string, std::string, std::string>> words = {
      {"big word", "1", "Form2"}, {"note", "0", "Hi"}, {"tune", "2", "WavePlay1"},
      {"run", "3", "bin/go.sh"},  {"back", "4", ""},   {"swap", "5", "1"}};
  for (const auto& [word, code, data] : words) text.Words().NewWord(word, code, data);
  TMetricSurface surface;
  text.PaintOn(surface);

  EXPECT_EQ(Show(Describe(text)), "text \"xx big word note tune run back swap\" ()");
  std::vector<std::string> links;
  for (int i = 0; i < text.AccessibleChildCount(); ++i) {
    TAccessibleInfo info = text.AccessibleChild(i);
    links.push_back(Show({info.Role, info.Name, info.Description, info.Pressable}));
  }
  EXPECT_EQ(links, (std::vector<std::string>{
                       "link \"big word\" (goes to Second) [press]",
                       "link \"note\" (shows a description) [press]",
                       "link \"tune\" (plays WavePlay1) [press]",
                       "link \"run\" (runs go.sh) [press]",
                       "link \"back\" (goes back) [press]",
                       "link \"swap\" (switches the text) [press]",
                   }));
  // The wrapped word lies on two lines, its bounds those of both parts.
  std::vector<TRect> parts = text.AccessibleChildRects(0);
  ASSERT_EQ(parts.size(), 2u);
  EXPECT_LT(parts[0].Top, parts[1].Top);
  EXPECT_EQ(UnionOfRects(parts),
            (TRect{std::min(parts[0].Left, parts[1].Left), parts[0].Top,
                   std::max(parts[0].Right, parts[1].Right), parts[1].Bottom}));

  // A text with a hint is named by it; its words stay links.
  text.SetHint("Welcome page");
  EXPECT_EQ(text.AccessibleInfo().Name, "Welcome page");
  // Words handled by the application's own handler say nothing of what they do.
  text.OnWordClick = [](TObject*, const std::string&) {};
  EXPECT_EQ(text.AccessibleChild(1).Description, "");
}

TEST(AccessibilityTest, PressingDoesWhatAClickDoes) {
  Frames app(2);
  TForm& frame = app[1];
  frame.SetBounds(0, 0, 400, 200);
  auto& text = Place<THyperTxt>(frame, "Text", {0, 0, 300, 60});
  text.SetLines(TStringList{"a note and on"});
  text.Words().NewWord("note", "0", "Hypertext: words that lead somewhere.");
  text.Words().NewWord("on", "1", "Form2");
  auto& image =
      WithAction(Place<THyperImage>(frame, "Image", {10, 80, 60, 130}), acDesc, "A picture");
  frame.Show();
  Application->ProcessMessages();
  ASSERT_EQ(text.AccessibleChildCount(), 2);

  std::vector<std::string> notes;
  Application->ModalHook = [&](TForm& popup) {
    if (auto* note = dynamic_cast<TMsgDlg*>(&popup)) {
      EXPECT_EQ(note->AccessibleInfo().Role, TAccessibleRole::Alert);
      notes.push_back(note->AccessibleInfo().Name);
    }
  };
  text.AccessiblePress(0);
  image.AccessiblePress(-1);
  EXPECT_EQ(notes,
            (std::vector<std::string>{"Hypertext: words that lead somewhere.", "A picture"}));
  app.Trace.clear();
  text.AccessiblePress(1);
  EXPECT_EQ(app.Trace, (std::vector<std::string>{"hide TForm1", "show TForm2"}));
}

TEST(AccessibilityTest, TheReadersFocusFollowsTheKeyboardMarkToEachHotWord) {
  Frames app(1);
  TForm& frame = app[1];
  frame.SetBounds(0, 0, 400, 200);
  auto& text = Place<THyperTxt>(frame, "Text", {0, 0, 300, 60});
  text.SetLines(TStringList{"a cat and a dog"});
  text.Words().NewWord("cat", "1", "Nowhere");
  text.Words().NewWord("dog", "1", "Nowhere");
  auto& image = Place<THyperImage>(frame, "Image", {10, 80, 60, 130});
  frame.Show();
  Application->ProcessMessages();

  Told told;
  std::vector<std::string> focused;
  for (int i = 0; i < 3; ++i) {
    PressKey(frame, VK_TAB);
    std::string now;
    for (int c = 0; c < text.AccessibleChildCount(); ++c)
      if (text.AccessibleFocused(c)) now += text.AccessibleChild(c).Name;
    if (image.AccessibleFocused(-1)) now += "Image";
    if (text.AccessibleFocused(-1) || frame.AccessibleFocused(-1)) now += "+";
    focused.push_back(now);
  }
  EXPECT_EQ(focused, (std::vector<std::string>{"cat", "dog", "Image"}));
  EXPECT_EQ(told.Focus(),
            (std::vector<std::pair<std::string, int>>{{"Text", 0}, {"Text", 1}, {"Image", -1}}));

  // The text switching its words tells readers its parts changed.
  told.Events.clear();
  text.SetLines(TStringList{"a dog"});
  frame.Repaint();
  bool changed = false;
  for (const auto& [name, child, event] : told.Events)
    changed |= name == "Text" && event == TAccessibleEvent::ChildrenChanged;
  EXPECT_TRUE(changed);
}

// The tree as Qt gives it to the accessibility bus: the frame's window, its painted controls
// and their hot words, with screen bounds and a press that acts once the request is answered.
TEST(QtAccessibilityTest, TheFrameWindowHoldsItsPaintedControlsAndTheirHotWords) {
  Frames app(2);
  TForm& frame = app[1];
  frame.SetCaption("Welcome");
  frame.SetBounds(0, 0, 400, 200);
  auto& title = Place<TfxLabel>(frame, "Title", {10, 0, 100, 20});
  title.SetCaption("The Tour");
  auto& text = Place<THyperTxt>(frame, "Text", {0, 30, 300, 90});
  text.SetLines(TStringList{"a cat and on"});
  text.Words().NewWord("cat", "0", "A cat");
  text.Words().NewWord("on", "1", "Form2");
  WithAction(Place<THyperImage>(frame, "Image", {10, 120, 60, 170}), acDesc, "A picture");
  Place<TShape>(frame, "Decoration", {200, 120, 260, 170});
  frame.Show();
  Application->ProcessMessages();

  QAccessibleInterface* window = QAccessible::queryAccessibleInterface(qt::WidgetOf(frame));
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->role(), QAccessible::Window);
  EXPECT_EQ(window->text(QAccessible::Name), "Welcome");
  std::vector<std::string> tree;
  for (int i = 0; i < window->childCount(); ++i) {
    QAccessibleInterface* c = window->child(i);
    EXPECT_EQ(window->indexOfChild(c), i);
    EXPECT_EQ(c->parent(), window);
    tree.push_back(std::to_string(c->role()) + " " + c->text(QAccessible::Name).toStdString());
    for (int j = 0; j < c->childCount(); ++j) {
      QAccessibleInterface* w = c->child(j);
      EXPECT_EQ(w->parent(), c);
      tree.push_back("  " + std::to_string(w->role()) + " " +
                     w->text(QAccessible::Name).toStdString() + " (" +
                     w->text(QAccessible::Description).toStdString() + ")");
    }
  }
  auto role = [](QAccessible::Role r) { return std::to_string(r) + " "; };
  EXPECT_EQ(tree, (std::vector<std::string>{
                      role(QAccessible::StaticText) + "The Tour",
                      role(QAccessible::Paragraph) + "a cat and on",
                      "  " + role(QAccessible::Link) + "cat (shows a description)",
                      "  " + role(QAccessible::Link) + "on (goes to Form2)",
                      role(QAccessible::PushButton) + "Shows a description",
                  }));

  // The hot word's bounds are its place on the screen.
  QAccessibleInterface* textIface = window->child(1);
  QAccessibleInterface* on = textIface->child(1);
  TRect slot = UnionOfRects(text.AccessibleChildRects(1));
  TPoint origin = text.ClientToScreen({slot.Left, slot.Top});
  EXPECT_EQ(on->rect(), QRect(origin.X, origin.Y, slot.Width(), slot.Height()));
  EXPECT_EQ(window->childAt(on->rect().center().x(), on->rect().center().y()), textIface);
  EXPECT_EQ(textIface->childAt(on->rect().center().x(), on->rect().center().y()), on);
  EXPECT_TRUE(on->state().focusable);
  EXPECT_FALSE(on->state().invisible);

  // The keyboard on the word: it is the window's focused child.
  frame.FocusKeyStop(&text, 1);
  EXPECT_TRUE(on->state().focused);
  EXPECT_EQ(window->focusChild(), on);

  // A press acts after the request returns, as a click would.
  QAccessibleActionInterface* action = on->actionInterface();
  ASSERT_NE(action, nullptr);
  EXPECT_EQ(action->actionNames(), QStringList{QAccessibleActionInterface::pressAction()});
  app.Trace.clear();
  action->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_TRUE(app.Trace.empty());
  Application->ProcessMessages();
  EXPECT_EQ(app.Trace, (std::vector<std::string>{"hide TForm1", "show TForm2"}));
  EXPECT_TRUE(window->state().invisible);
}

TEST(QtAccessibilityTest, APressOnAControlThatWentDoesNothing) {
  Frames app(1);
  TForm& frame = app[1];
  frame.SetBounds(0, 0, 400, 200);
  auto* area = &WithAction(Place<THyperArea>(frame, "Area", {10, 10, 60, 60}), acBookMark, "");
  frame.Show();
  Application->ProcessMessages();
  QAccessibleInterface* window = QAccessible::queryAccessibleInterface(qt::WidgetOf(frame));
  ASSERT_EQ(window->childCount(), 1);
  QAccessibleInterface* iface = window->child(0);
  ASSERT_TRUE(iface->isValid());
  iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  delete area;
  app.Trace.clear();
  Application->ProcessMessages();
  EXPECT_TRUE(app.Trace.empty());
  EXPECT_EQ(window->childCount(), 0);
}

TEST(AccessibilityTest, InTheDesignerEachComponentIsNamedByItsNameDecorationIncluded) {
  Frames app(1);
  TForm& frame = app[1];
  frame.SetCaption("Welcome");
  auto& image = WithAction(Place<THyperImage>(frame, "Sunset", {0, 0, 40, 40}), acDesc, "A note");
  auto& shape = Place<TShape>(frame, "Frame1", {0, 50, 40, 90});
  auto& label = Place<TLabel>(frame, "Label1", {0, 100, 40, 120});
  auto& text = Place<THyperTxt>(frame, "HyperTxt1", {50, 0, 200, 100});
  text.SetLines(TStringList{"a cat"});
  text.Words().NewWord("cat", "0", "A cat");
  frame.SetDesigning(true);
  auto read = [](const TControl& c) {
    TAccessibleInfo info = AccessibleInfoOf(c, -1);
    return Show({info.Role, info.Name, info.Description, info.Pressable});
  };
  EXPECT_EQ(read(image), "button \"Sunset\" (THyperImage: Shows a description)");
  EXPECT_EQ(read(shape), "graphic \"Frame1\" (TShape)");
  EXPECT_EQ(read(label), "static text \"Label1\" (TLabel)");
  EXPECT_EQ(read(text), "text \"HyperTxt1\" (THyperTxt: a cat)");
  EXPECT_EQ(text.AccessibleChildCount(), 0);
  EXPECT_EQ(read(frame), "window \"Welcome\" ()");
  // At run time the same components read as what they do.
  frame.SetDesigning(false);
  EXPECT_EQ(read(image), "button \"Shows a description\" (shows a description) [press]");
}
