// Keyboard stops: places without windows of their own (hot words, clickable pictures) that Tab
// walks through among a form's windows, marked with a dotted focus rectangle.

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <string>
#include <vector>

#include "host/EditCtrls.h"
#include "host/ExtCtrls.h"
#include "host/Forms.h"
#include "host/MetricCanvas.h"
#include "host/StdCtrls.h"

using namespace host;

namespace {

// A window-less control with stops at fixed client rectangles; Enter or Space on one is
// recorded.
class TStops : public TGraphicControl {
 public:
  TStops(TWinControl* parent, const std::string& name, TRect bounds, std::vector<TRect> stops)
      : TGraphicControl(parent), FStops(std::move(stops)) {
    SetName(name);
    SetParent(parent);
    SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
  }
  int KeyStopCount() const override { return static_cast<int>(FStops.size()); }
  std::vector<TRect> KeyStopRects(int index) const override {
    return {FStops.at(static_cast<size_t>(index))};
  }
  void KeyStopClick(int index) override { Clicked.push_back(index); }
  void Changed() { KeyStopsChanged(); }

  std::vector<TRect> FStops;
  std::vector<int> Clicked;
};

TKeyEventRecord Key(TKey key, TShiftState shift = {}) {
  TKeyEventRecord event;
  event.Key = key;
  event.Shift = shift;
  if (key == VK_SPACE) event.Text = " ";
  return event;
}

void Press(TForm& form, TKey key, TShiftState shift = {}) {
  TWinControl* target = form.ActiveControl() ? form.ActiveControl() : &form;
  target->PerformKey(Key(key, shift));
}

// Where the keyboard is: a window's name, or a stop's control name and index.
std::string At(const TForm& form) {
  if (form.KeyStopControl())
    return form.KeyStopControl()->Name() + "#" + std::to_string(form.KeyStopIndex());
  return form.ActiveControl() ? form.ActiveControl()->Name() : "-";
}

// Two edit fields, a button, and two stop controls laid out so that reading order and Tab
// order differ:
//   y 10   Edit1
//   y 40                          B#0
//   y 50   A#0     A#1
//   y 60                Edit2
//   y 80   A#2
//   y 200  Button1
struct StopsForm {
  TForm Form{nullptr};
  TEdit* Edit1 = new TEdit(&Form);
  TEdit* Edit2 = new TEdit(&Form);
  TButton* Button1 = new TButton(&Form);
  TStops* A;
  TStops* B;

  StopsForm() {
    Form.SetName("Stops");
    Form.SetBounds(0, 0, 400, 300);
    Edit1->SetName("Edit1");
    Edit1->SetParent(&Form);
    Edit1->SetBounds(10, 10, 100, 20);
    Edit2->SetName("Edit2");
    Edit2->SetParent(&Form);
    Edit2->SetBounds(200, 60, 100, 20);
    Button1->SetName("Button1");
    Button1->SetParent(&Form);
    Button1->SetBounds(10, 200, 80, 24);
    A = new TStops(&Form, "A", {0, 50, 180, 120},
                   {{10, 0, 50, 20}, {100, 0, 150, 20}, {10, 30, 60, 50}});
    B = new TStops(&Form, "B", {300, 40, 380, 70}, {{0, 0, 40, 20}});
  }
  std::vector<std::string> Walk(int count, TShiftState shift = {}) {
    std::vector<std::string> visited;
    for (int i = 0; i < count; ++i) {
      Press(Form, VK_TAB, shift);
      visited.push_back(At(Form));
    }
    return visited;
  }
};

}  // namespace

TEST(KeyStopsTest, TabPutsStopsInReadingOrderAmongTheWindowsInTheirTabOrder) {
  StopsForm f;
  f.Form.Show();
  EXPECT_EQ(At(f.Form), "Edit1");  // a form opens with the keyboard on its first field
  EXPECT_EQ(f.Walk(8), (std::vector<std::string>{"B#0", "A#0", "A#1", "Edit2", "A#2", "Button1",
                                                 "Edit1", "B#0"}));
  // Shift+Tab goes back the same way, round the end as well.
  EXPECT_EQ(f.Walk(3, {ssShift}), (std::vector<std::string>{"Edit1", "Button1", "A#2"}));

  // Windows keep the order the designer gave them; each stop still comes before the first
  // window that begins after it.
  f.Button1->SetTabOrder(0);
  f.Edit1->SetFocus();
  EXPECT_EQ(f.Walk(7),
            (std::vector<std::string>{"Edit2", "B#0", "A#0", "A#1", "A#2", "Button1", "Edit1"}));
}

TEST(KeyStopsTest, HiddenDisabledAndOutOfBoundsStopsArePassedOver) {
  StopsForm f;
  f.Form.Show();
  f.B->SetVisible(false);
  f.A->FStops[1] = {100, 80, 150, 100};  // below the bottom of A: drawn where nobody sees it
  f.Edit2->SetEnabled(false);
  EXPECT_EQ(f.Walk(4), (std::vector<std::string>{"A#0", "A#2", "Button1", "Edit1"}));
  f.A->SetEnabled(false);
  EXPECT_EQ(f.Walk(2), (std::vector<std::string>{"Button1", "Edit1"}));

  // Inside a panel, stops read by where they are on the form.
  auto* panel = new TPanel(&f.Form);
  panel->SetParent(&f.Form);
  panel->SetBounds(0, 150, 300, 40);
  new TStops(panel, "P", {200, 0, 300, 40}, {{0, 0, 10, 10}});
  f.Edit1->SetFocus();
  EXPECT_EQ(f.Walk(3), (std::vector<std::string>{"P#0", "Button1", "Edit1"}));

  // A form with nothing but stops: Tab starts on the first, Shift+Tab on the last, and both go
  // round.
  TForm bare(nullptr);
  auto* c = new TStops(&bare, "C", {0, 0, 200, 100}, {{0, 0, 10, 10}, {20, 0, 30, 10}});
  bare.Show();
  EXPECT_EQ(At(bare), "-");
  Press(bare, VK_TAB, {ssShift});
  EXPECT_EQ(At(bare), "C#1");
  Press(bare, VK_TAB);
  EXPECT_EQ(At(bare), "C#0");
  Press(bare, VK_TAB, {ssShift});
  EXPECT_EQ(At(bare), "C#1");
  // Removed with its control, the stop leaves the form.
  delete c;
  EXPECT_EQ(bare.KeyStopControl(), nullptr);
  Press(bare, VK_TAB);
  EXPECT_EQ(At(bare), "-");
}

TEST(KeyStopsTest, EnterOrSpaceOnAStopClicksItAndNotTheDefaultButton) {
  StopsForm f;
  int defaults = 0;
  f.Button1->SetDefault(true);
  f.Button1->OnClick = [&](TObject*) { ++defaults; };
  f.Form.Show();
  f.Form.FocusKeyStop(f.A, 1);
  EXPECT_EQ(f.Form.ActiveControl(), nullptr);
  Press(f.Form, VK_RETURN);
  Press(f.Form, VK_SPACE);
  EXPECT_EQ(f.A->Clicked, (std::vector<int>{1, 1}));
  EXPECT_EQ(defaults, 0);
  // With Ctrl the keys mean something else; with the keyboard on a field, Enter is the default
  // button's as before.
  Press(f.Form, VK_RETURN, {ssCtrl});
  EXPECT_EQ(f.A->Clicked.size(), 2u);
  f.Edit1->SetFocus();
  EXPECT_EQ(f.Form.KeyStopControl(), nullptr);  // a window taking the keyboard takes it off
  Press(f.Form, VK_RETURN);
  EXPECT_EQ(defaults, 1);
  EXPECT_EQ(f.A->Clicked.size(), 2u);

  // A stop whose control changed its stops is left: Enter then does nothing.
  f.Form.FocusKeyStop(f.A, 0);
  f.A->Changed();
  EXPECT_EQ(f.Form.KeyStopControl(), nullptr);
  Press(f.Form, VK_RETURN);
  EXPECT_EQ(f.A->Clicked.size(), 2u);
  // Nor does it act on a stop that has gone from under it (hidden since).
  f.Form.FocusKeyStop(f.B, 0);
  f.B->SetVisible(false);
  Press(f.Form, VK_SPACE);
  EXPECT_TRUE(f.B->Clicked.empty());
}

TEST(KeyStopsTest, TheFocusMarkIsADottedFrameOnTheActiveFormOnly) {
  StopsForm f;
  std::vector<std::string> told;
  Application->Events.KeyStopFocused = [&](TForm& form, TControl& control, int index) {
    told.push_back(form.Name() + " " + control.Name() + " " + std::to_string(index));
  };
  f.Form.Show();
  auto marks = [&] {
    TMetricSurface surface;
    f.Form.PaintTo(surface);
    std::vector<TRect> dotted;
    for (const TCanvasOp& op : surface.OpsOf(ckFrame))
      if (op.PenStyle == psDot) dotted.push_back(op.Rect);
    return dotted;
  };
  EXPECT_TRUE(marks().empty());  // the keyboard is on a field, which marks itself
  Press(f.Form, VK_TAB);
  Press(f.Form, VK_TAB);
  Press(f.Form, VK_TAB);  // A#1, at (100, 50) in A
  EXPECT_EQ(marks(), (std::vector<TRect>{{100, 50, 150, 70}}));
  EXPECT_EQ(told, (std::vector<std::string>{"Stops B 0", "Stops A 0", "Stops A 1"}));

  // Another form active: no mark here; back when that one goes.
  TForm other(nullptr);
  other.Show();
  EXPECT_TRUE(marks().empty());
  other.Hide();
  EXPECT_EQ(marks().size(), 1u);
  // Another program has the keyboard.
  Screen->SetApplicationActive(false);
  EXPECT_TRUE(marks().empty());
  Screen->SetApplicationActive(true);
  EXPECT_EQ(marks().size(), 1u);
  f.Edit2->SetFocus();
  EXPECT_TRUE(marks().empty());
  Application->Events.KeyStopFocused = nullptr;
}

TEST(KeyStopsTest, KeysFromTheToolkitMoveFromAFieldToTheStopsAndClickThem) {
  StopsForm f;
  f.Form.Show();
  f.Edit1->SetFocus();
  Application->ProcessMessages();
  auto send = [](int key, Qt::KeyboardModifiers mods = {}, const QString& text = {}) {
    QWidget* to = QApplication::focusWidget();
    ASSERT_NE(to, nullptr);
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QCoreApplication::sendEvent(to, &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods, text);
    QCoreApplication::sendEvent(to, &release);
    Application->ProcessMessages();
  };
  send(Qt::Key_Tab, {}, "\t");
  EXPECT_EQ(At(f.Form), "B#0");
  // The field gave the keyboard to the form's own window, which now takes the keys.
  EXPECT_EQ(QApplication::focusWidget(), dynamic_cast<QWidget*>(f.Form.Peer()));
  send(Qt::Key_Tab, {}, "\t");
  send(Qt::Key_Space, {}, " ");
  send(Qt::Key_Backtab, Qt::ShiftModifier);
  send(Qt::Key_Return, {}, "\r");
  EXPECT_EQ(f.A->Clicked, std::vector<int>{0});
  EXPECT_EQ(f.B->Clicked, std::vector<int>{0});
  send(Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(At(f.Form), "Edit1");
}
