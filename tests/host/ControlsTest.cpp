#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "host/Dialogs.h"
#include "host/ExtCtrls.h"
#include "host/FormFile.h"
#include "host/Forms.h"
#include "host/ListCtrls.h"
#include "host/MetricCanvas.h"
#include "host/StdCtrls.h"
#include "tests/TestSupport.h"

using namespace host;

namespace {

// Records every pointer hook that reaches it, in order.
template <class Base>
class Recorder : public Base {
 public:
  using Base::Base;
  std::vector<std::string> Log;

  void MouseDown(TMouseButton b, TShiftState, int x, int y) override {
    Log.push_back(Describe("down", b, x, y));
  }
  void MouseMove(TShiftState, int x, int y) override {
    Log.push_back(Describe("move", mbLeft, x, y));
  }
  void MouseUp(TMouseButton b, TShiftState, int x, int y) override {
    Log.push_back(Describe("up", b, x, y));
  }
  void Click() override { Log.push_back("click"); }

 private:
  static std::string Describe(const char* what, TMouseButton b, int x, int y) {
    return std::string(what) + (b == mbRight ? " right " : " ") + std::to_string(x) + "," +
           std::to_string(y);
  }
};

class GraphicBox : public Recorder<TGraphicControl> {
 public:
  using Recorder::Recorder;

 protected:
  void Paint() override {
    Canvas().Brush().SetColor(clRed);
    Canvas().FillRect(ClientRect());
  }
};

class WindowBox : public Recorder<TCustomControl> {
 public:
  using Recorder::Recorder;

 protected:
  void Paint() override {
    Canvas().Brush().SetColor(clBlue);
    Canvas().FillRect(ClientRect());
  }
};

// A form with a graphic control and a windowed control overlapping at (60,60)-(110,110).
struct OverlapForm {
  std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
  GraphicBox* Graphic = new GraphicBox(Form.get());
  WindowBox* Window = new WindowBox(Form.get());

  OverlapForm() {
    Form->SetBounds(0, 0, 200, 160);
    Form->SetColor(clWhite);
    Graphic->SetParent(Form.get());
    Graphic->SetBounds(10, 10, 100, 100);
    // Inserted before the graphic control in z-order, yet windows lie above graphic controls.
    Window->SetParent(Form.get());
    Window->SetBounds(60, 60, 100, 80);
    Window->SendToBack();
  }

  void Send(TMouseEventRecord::TKind kind, int x, int y, TMouseButton b = mbLeft) {
    TMouseEventRecord e;
    e.Kind = kind;
    e.Button = b;
    e.Pos = {x, y};
    Form->DispatchMouse(e);
  }
};

uint32_t Rgb(const TRawImage& image, int x, int y) {
  return image.Pixel(x, y) & 0xFFFFFF;
}

}  // namespace

TEST(ControlsTest, PointerReachesTheControlUnderItInClientCoordinates) {
  OverlapForm f;
  f.Send(TMouseEventRecord::Move, 20, 30);
  f.Send(TMouseEventRecord::Down, 20, 30);
  f.Send(TMouseEventRecord::Up, 21, 31);
  // Click comes before MouseUp, as the old framework ordered them.
  EXPECT_EQ(f.Graphic->Log,
            (std::vector<std::string>{"move 10,20", "down 10,20", "click", "up 11,21"}));
  EXPECT_TRUE(f.Window->Log.empty());

  // Where they overlap the windowed control takes the pointer, whatever the z-order says.
  f.Graphic->Log.clear();
  f.Send(TMouseEventRecord::Down, 70, 80);
  f.Send(TMouseEventRecord::Up, 70, 80);
  EXPECT_TRUE(f.Graphic->Log.empty());
  EXPECT_EQ(f.Window->Log, (std::vector<std::string>{"down 10,20", "click", "up 10,20"}));
}

TEST(ControlsTest, PressedControlKeepsThePointerAndClicksOnlyWhenReleasedOverIt) {
  OverlapForm f;
  f.Send(TMouseEventRecord::Down, 20, 20);
  f.Send(TMouseEventRecord::Move, 150, 20);  // over the form only
  f.Send(TMouseEventRecord::Up, 190, 150);
  EXPECT_EQ(f.Graphic->Log, (std::vector<std::string>{"down 10,10", "move 140,10", "up 180,140"}));

  // A press on the window keeps the pointer even when released over the graphic control.
  f.Graphic->Log.clear();
  f.Send(TMouseEventRecord::Down, 100, 100);
  f.Send(TMouseEventRecord::Up, 20, 20);
  EXPECT_EQ(f.Window->Log, (std::vector<std::string>{"down 40,40", "up -40,-40"}));
  EXPECT_TRUE(f.Graphic->Log.empty());
}

TEST(ControlsTest, RightButtonAndHiddenOrDisabledControlsDoNotClick) {
  OverlapForm f;
  f.Send(TMouseEventRecord::Down, 20, 20, mbRight);
  f.Send(TMouseEventRecord::Up, 20, 20, mbRight);
  EXPECT_EQ(f.Graphic->Log, (std::vector<std::string>{"down right 10,10", "up right 10,10"}));

  f.Graphic->Log.clear();
  f.Graphic->SetEnabled(false);
  f.Send(TMouseEventRecord::Down, 20, 20);
  f.Graphic->SetEnabled(true);
  f.Graphic->Hide();
  f.Send(TMouseEventRecord::Down, 25, 25);
  EXPECT_TRUE(f.Graphic->Log.empty());
}

TEST(ControlsTest, WindowedChildrenPaintAboveGraphicOnes) {
  OverlapForm f;
  TMetricSurface surface;
  f.Form->PaintTo(surface);
  auto fills = surface.OpsOf(ckFill);
  ASSERT_EQ(fills.size(), 4u);  // form, graphic box, window background, window face
  EXPECT_EQ(fills[1].Color, clRed);
  EXPECT_EQ(fills[1].Rect, Rect(10, 10, 110, 110));
  EXPECT_EQ(fills[1].Clip, Rect(10, 10, 110, 110));
  EXPECT_EQ(fills[3].Color, clBlue);
  EXPECT_EQ(fills[3].Rect, Rect(60, 60, 160, 140));
}

TEST(ControlsTest, ScreenshotShowsWhatEachControlPainted) {
  OverlapForm f;
  f.Form->Show();
  TRawImage image = CaptureForm(*f.Form);
  ASSERT_EQ(image.Width, 200);
  ASSERT_EQ(image.Height, 160);
  EXPECT_EQ(Rgb(image, 5, 5), 0xFFFFFFu);      // form
  EXPECT_EQ(Rgb(image, 30, 30), 0xFF0000u);    // graphic control alone
  EXPECT_EQ(Rgb(image, 80, 80), 0x0000FFu);    // overlap: the window hides the graphic control
  EXPECT_EQ(Rgb(image, 150, 130), 0x0000FFu);  // window alone
  std::string out = std::string(MEBROX_TEST_OUTPUT) + "/controls-overlap.png";
  SaveFormImage(*f.Form, out);
  EXPECT_TRUE(FileExists(out));
  f.Form->Hide();
}

TEST(ControlsTest, ClientToScreenAddsParentOffsets) {
  OverlapForm f;
  f.Form->SetBounds(100, 50, 200, 160);
  EXPECT_EQ(f.Graphic->ClientToScreen({5, 6}), (TPoint{115, 66}));
  EXPECT_EQ(f.Window->ScreenToClient({165, 115}), (TPoint{5, 5}));
}

// A damaged size would otherwise cost seconds and gigabytes of pixels: it is refused at its line,
// and the edges of what a screen shows still load.
TEST(ControlsTest, SizesNoScreenCanShowAreRefusedWhereTheFormFileGivesThem) {
  struct TCase {
    std::string Line;
    const char* Message;
  };
  for (const TCase& c : std::vector<TCase>{
           {"Width = 2147483647", "Width 2147483647 is beyond what a screen can show (0 to 32767)"},
           {"Height = -1", "Height -1 is beyond"},
           {"Left = -40000", "Left -40000 is beyond"},
           {"Top = 32768", "Top 32768 is beyond"},
           {"Font.Size = 100000", "Size 100000 is beyond"},
           {"Font.Height = -5000", "Height -5000 is beyond"}}) {
    SCOPED_TRACE(c.Line);
    TForm form(nullptr);
    try {
      ReadComponentText("object F: TForm\n  Caption = 'x'\n  " + c.Line + "\nend\n", form,
                        "Huge.dfm");
      ADD_FAILURE() << "no error";
    } catch (const EParserError& e) {
      EXPECT_EQ(e.Line(), 3);
      EXPECT_NE(e.Message().find(c.Message), std::string::npos) << e.Message();
    }
  }
  TForm edge(nullptr);
  ReadComponentText(
      "object F: TForm\n  Left = -32768\n  Top = 32767\n  Width = 32767\n  Height = 0\n"
      "  Font.Height = -4096\nend\n",
      edge, "Edge.dfm");
  EXPECT_EQ(edge.Left(), -32768);
  EXPECT_EQ(edge.Width(), 32767);
  EXPECT_EQ(edge.Font().Height(), -4096);
}

TEST(FormsTest, CloseHidesOtherFormsAndEndsTheApplicationForTheMainForm) {
  auto* main = new TForm(Application);
  auto* second = new TForm(Application);
  auto* dialog = new TForm(Application);
  // The project's forms join the application as its main block creates them; a dialog the
  // application owns is never its main form.
  EXPECT_EQ(Application->MainForm(), nullptr);
  Application->AddForm(main);
  Application->AddForm(second);
  ASSERT_EQ(Application->MainForm(), main);
  dialog->Show();
  dialog->Close();
  EXPECT_FALSE(Application->Terminated());
  delete dialog;
  std::vector<std::string> trace;
  Application->Events.FormClosed = [&](TForm& f) { trace.push_back("close " + f.Name()); };
  Application->Events.Terminated = [&] { trace.push_back("terminate"); };
  main->SetName("Main");
  second->SetName("Second");
  second->Show();
  second->Close();
  EXPECT_FALSE(second->Visible());
  EXPECT_FALSE(Application->Terminated());

  bool allow = false;
  main->OnCloseQuery = [&](TObject*, bool& canClose) { canClose = allow; };
  main->Show();
  main->Close();
  EXPECT_TRUE(main->Visible());
  allow = true;
  main->Close();
  EXPECT_TRUE(Application->Terminated());
  EXPECT_EQ(trace, (std::vector<std::string>{"close Second", "close Main", "terminate"}));

  Application->Events = {};
  Application->ResetTerminated();
  delete second;
  delete main;
  EXPECT_EQ(Application->MainForm(), nullptr);
}

TEST(FormsTest, ShowModalGoesThroughTheHookAndCloseEndsIt) {
  TForm form(nullptr);
  form.SetClassName("TDialog");
  Application->ModalHook = [](TForm& f) {
    EXPECT_TRUE(f.Visible());
    EXPECT_TRUE(f.Modal());
    f.Close();
  };
  EXPECT_EQ(form.ShowModal(), mrCancel);
  EXPECT_FALSE(form.Visible());
  Application->ModalHook = [](TForm& f) { f.SetModalResult(mrOk); };
  EXPECT_EQ(form.ShowModal(), mrOk);
  Application->ModalHook = nullptr;
  EXPECT_EQ(form.ClassName(), "TDialog");
}

TEST(FormsTest, ExceptionsInEventsReachTheApplicationHandler) {
  auto& dialogs = static_cast<TScriptedDialogs&>(DialogService());
  size_t before = dialogs.Errors().size();
  HandleEvents([] { throw EConvertError("'x' is not a valid integer value"); });
  ASSERT_EQ(dialogs.Errors().size(), before + 1);
  EXPECT_EQ(dialogs.Errors().back(), "'x' is not a valid integer value.");
}

TEST(FormsTest, MessageBoxesTakeQueuedAnswersOrTheirDefaultButton) {
  auto& dialogs = static_cast<TScriptedDialogs&>(DialogService());
  dialogs.QueueAnswer(mrNo);
  EXPECT_EQ(MessageDlg("Continue?", mtInformation, {mbYes, mbNo}, 0), mrNo);
  EXPECT_EQ(MessageDlg("Continue?", mtInformation, {mbYes, mbNo}, 0), mrYes);
  dialogs.QueueAnswer(mrYes);  // no such button: the default one answers
  EXPECT_EQ(MessageDlg("Saved", mtInformation, {mbOK}, 0), mrOk);
  EXPECT_EQ(dialogs.Shown().back().Message, "Saved");
}

TEST(StdControlsTest, LabelSizesItselfToItsCaption) {
  TForm form(nullptr);
  auto* label = new TLabel(&form);
  label->SetParent(&form);
  label->SetCaption("Hello");
  int width = label->Width();
  EXPECT_GT(width, 0);
  label->SetCaption("Hello, world");
  EXPECT_GT(label->Width(), width);
  label->Font().SetSize(30);
  EXPECT_GT(label->Height(), 30);
  label->SetAutoSize(false);
  label->SetCaption("x");
  EXPECT_GT(label->Width(), width);
}

TEST(FormsTest, ClosingTheLastVisibleWindowFromTheWindowManagerEndsTheApplication) {
  auto* main = new TForm(Application);
  auto* second = new TForm(Application);
  main->Show();
  main->Hide();  // a frame went on to the second one
  second->Show();
  second->DispatchClose();
  EXPECT_FALSE(second->Visible());
  EXPECT_TRUE(Application->Terminated());
  Application->ResetTerminated();

  // With another window still showing, only the closed one goes.
  main->Show();
  second->Show();
  second->DispatchClose();
  EXPECT_FALSE(Application->Terminated());
  delete second;
  delete main;
}

TEST(ListBoxTest, AnOwnerDrawnListHasItsItemsPaintedByItsOwnerAtOneHeight) {
  TForm form(nullptr);
  ReadComponentText(
      "object Form1: TForm1\n"
      "  object List1: TListBox\n"
      "    ItemHeight = 40\n"
      "    Style = lbOwnerDrawFixed\n"
      "    Items.Strings = (\n"
      "      'One'\n"
      "      'Two')\n"
      "  end\n"
      "  object Plain: TListBox\n"
      "  end\n"
      "end\n",
      form, "list.dfm");
  auto& list = dynamic_cast<TListBox&>(*form.FindComponent("List1"));
  EXPECT_EQ(list.Style(), lbOwnerDrawFixed);
  EXPECT_EQ(list.ItemHeight(), 40);
  list.SetItemHeight(0);
  EXPECT_EQ(list.ItemHeight(), 1);
  list.SetItemHeight(40);
  // Written back as read; a standard list writes neither.
  std::string text = WriteComponentText(form);
  EXPECT_NE(text.find("ItemHeight = 40"), std::string::npos) << text;
  EXPECT_NE(text.find("Style = lbOwnerDrawFixed"), std::string::npos) << text;
  const std::string written = WriteComponentText(form);
  const std::string plainText = written.substr(written.find("object Plain"));
  EXPECT_EQ(plainText.find("ItemHeight"), std::string::npos) << plainText;
  EXPECT_EQ(plainText.find(" Style = "), std::string::npos) << plainText;

  // Without a painter of its own, an item is its text on the list's ground, or on the
  // selection's colour with the selected text's.
  TMetricSurface surface;
  list.DrawItem(surface, 1, {0, 40, 100, 80}, {odSelected});
  ASSERT_EQ(surface.OpsOf(ckFill).size(), 1u);
  EXPECT_EQ(surface.OpsOf(ckFill)[0].Color, clHighlight);
  ASSERT_EQ(surface.OpsOf(ckText).size(), 1u);
  EXPECT_EQ(surface.OpsOf(ckText)[0].Text, "Two");
  EXPECT_EQ(surface.OpsOf(ckText)[0].FontColor, clHighlightText);

  // The owner paints on the list's canvas, told where and in what state.
  std::vector<std::string> told;
  list.OnDrawItem = [&](TObject* sender, int index, const TRect& rect, TOwnerDrawState state) {
    EXPECT_EQ(sender, &list);
    told.push_back(std::to_string(index) + "@" + std::to_string(rect.Top) +
                   (state.Contains(odSelected) ? "+" : ""));
    list.Canvas().FillRect(rect);
  };
  surface.ClearOps();
  list.DrawItem(surface, 0, {0, 0, 100, 40}, {});
  EXPECT_EQ(told, std::vector<std::string>{"0@0"});
  ASSERT_EQ(surface.OpsOf(ckFill).size(), 1u);
  EXPECT_EQ(surface.OpsOf(ckFill)[0].Color, list.Color());
  EXPECT_TRUE(surface.OpsOf(ckText).empty());
}
