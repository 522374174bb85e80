#include <gtest/gtest.h>

#include <memory>

#include "host/ExtCtrls.h"
#include "host/FormFile.h"
#include "host/IniFiles.h"
#include "host/MetricCanvas.h"
#include "runtime/HyperImg.h"
#include "runtime/Hyprarea.h"
#include "runtime/RuntimeClasses.h"
#include "tests/runtime/RuntimeTestSupport.h"

using namespace host;
using namespace mebrox;
using testing_support::Frames;

namespace {

TMouseEventRecord Mouse(TMouseEventRecord::TKind kind, int x, int y) {
  TMouseEventRecord e;
  e.Kind = kind;
  e.Pos = {x, y};
  return e;
}

void ClickAt(TForm& form, int x, int y) {
  form.DispatchMouse(Mouse(TMouseEventRecord::Down, x, y));
  form.DispatchMouse(Mouse(TMouseEventRecord::Up, x, y));
}

THyperArea& AreaOn(TForm& form, const TRect& bounds) {
  auto* area = new THyperArea(&form);
  area->SetParent(&form);
  area->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
  return *area;
}

// A picture in two colours, left and right, under the area in the screenshots.
std::string TwoColourPng(int width, int height) {
  TRawImage image{width, height, {}};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.Pixels.push_back(x < width / 2 ? 0xFF30A0E0 : 0xFFF08030);
  return ImageCodec()->EncodePng(image);
}

}  // namespace

TEST(HyperAreaTest, RunTimeAreaPaintsNothingButTheDesignerOutlinesIt) {
  TComponent running(nullptr);
  auto* area = new THyperArea(&running);
  TMetricSurface surface;
  area->PaintOn(surface);
  EXPECT_TRUE(surface.Ops().empty());

  TComponent designer(nullptr);
  designer.SetDesigning(true);
  auto* designed = new THyperArea(&designer);
  designed->Pen().SetColor(clRed);  // still a clear pen
  designed->PaintOn(surface);
  ASSERT_EQ(surface.Ops().size(), 1u);
  const TCanvasOp& outline = surface.Ops()[0];
  EXPECT_EQ(outline.Kind, ckFrame);
  EXPECT_EQ(outline.Rect, Rect(0, 0, designed->Width(), designed->Height()));
  EXPECT_EQ(outline.PenStyle, psSolid);
  EXPECT_EQ(outline.Color, clRed);
  EXPECT_EQ(designed->Canvas().Pen().Style(), psClear);
  EXPECT_EQ(designed->Canvas().Brush().Style(), bsClear);

  // Styles the designer made visible show at run time too.
  surface.ClearOps();
  area->Brush().SetStyle(bsSolid);
  area->PaintOn(surface);
  EXPECT_EQ(surface.OpsOf(ckFill).size(), 1u);
  EXPECT_TRUE(surface.OpsOf(ckFrame).empty());
}

TEST(HyperAreaTest, PointerReachesTheAreaOnlyWhereNoWindowLiesAboveAndClicksPerformTheAction) {
  Frames app(2);
  THyperArea& area = AreaOn(app[1], Rect(0, 0, 100, 100));
  auto* panel = new TPanel(&app[1]);
  panel->SetParent(&app[1]);
  panel->SetBounds(50, 50, 100, 100);
  TAction action;
  action.SetActionType(acFrame);
  action.SetFrame("Form2");
  area.SetAction(action);
  std::vector<std::string> seen;
  area.OnClick = [&](TObject*) { seen.push_back(app[1].Visible() ? "shown" : "hidden"); };
  app[1].Show();
  app.Trace.clear();

  ClickAt(app[1], 70, 70);  // on the panel, over the area
  EXPECT_TRUE(seen.empty());
  EXPECT_TRUE(app.Trace.empty());
  ClickAt(app[1], 20, 20);
  EXPECT_EQ(seen, std::vector<std::string>{"shown"});
  EXPECT_EQ(app.Trace, (std::vector<std::string>{"hide TForm1", "show TForm2"}));
}

TEST(HyperAreaTest, PointerIsTheHandOnlyWithCursorShow) {
  TForm form(nullptr);
  THyperArea& area = AreaOn(form, Rect(0, 0, 100, 100));
  form.DispatchMouse(Mouse(TMouseEventRecord::Move, 20, 20));
  EXPECT_EQ(area.Cursor(), crDefault);
  area.SetCursorShow(true);
  form.DispatchMouse(Mouse(TMouseEventRecord::Move, 21, 20));
  EXPECT_EQ(area.Cursor(), THotCursors::HandCursor);
}

TEST(HyperAreaTest, CursorSlotsAreSharedWithHotImagesAndGoWithTheLastOfThem) {
  ASSERT_EQ(THotCursors::Group().Users(), 0);
  auto area = std::make_unique<THyperArea>(nullptr);
  for (int slot : {1, 2, 3, 4, 6}) EXPECT_NE(Screen->Cursors(slot), nullptr) << slot;
  EXPECT_EQ(Screen->Cursors(5), nullptr);  // the bookmark pointer is the hot image's
  EXPECT_EQ(Screen->Cursors(6)->Name, "CLOSE");

  auto image = std::make_unique<THyperImage>(nullptr);
  EXPECT_EQ(Screen->Cursors(5)->Name, "BookMark");
  image.reset();
  for (int slot = 1; slot <= 6; ++slot) EXPECT_NE(Screen->Cursors(slot), nullptr) << slot;
  area.reset();
  for (int slot = 1; slot <= 6; ++slot) EXPECT_EQ(Screen->Cursors(slot), nullptr) << slot;
}

TEST(HyperAreaTest, SettingsSwitchCursorShowOnOnlyInTheDesigner) {
  testing_support::ScopedWindowsDir windows;
  TIniFile ini("Mebrox.ini");
  ini.WriteInteger("Status", "INIAvailable", 1);
  ini.WriteBool("HyperArea", "Use", true);
  ini.WriteBool("HyperArea", "CursorShow", true);
  TForm designer(nullptr), running(nullptr);
  designer.SetDesigning(true);
  EXPECT_TRUE(testing_support::DropNew<THyperArea>(designer)->CursorShow());
  EXPECT_FALSE((new THyperArea(&designer))->CursorShow());  // read, not dropped
  EXPECT_FALSE((new THyperArea(&running))->CursorShow());
  ini.WriteBool("HyperArea", "Use", false);
  EXPECT_FALSE(testing_support::DropNew<THyperArea>(designer)->CursorShow());
}

TEST(HyperAreaTest, StoredAreaReadsBackWithItsClearStylesAndAction) {
  RegisterRuntimeClasses();
  TForm form(nullptr);
  form.SetName("Form1");
  THyperArea& area = AreaOn(form, Rect(8, 8, 48, 38));
  area.SetName("HyperArea1");
  area.Action().SetActionType(acClose);
  area.SetCursorShow(true);
  std::string text = WriteComponentText(form);
  size_t pen = text.find("Pen.Style = psClear"), action = text.find("Action.ActionType = acClose"),
         cursor = text.find("CursorShow = True");
  EXPECT_NE(text.find("Brush.Style = bsClear"), std::string::npos) << text;
  EXPECT_TRUE(pen < action && action < cursor && cursor != std::string::npos) << text;

  TForm copy(nullptr);
  ReadComponentText(text, copy, "Unit1.dfm");
  auto* read = dynamic_cast<THyperArea*>(copy.FindComponent("HyperArea1"));
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->BoundsRect(), Rect(8, 8, 48, 38));
  EXPECT_EQ(read->Action().ActionType(), acClose);
  EXPECT_TRUE(read->CursorShow());
  EXPECT_EQ(read->Pen().Style(), psClear);
  EXPECT_EQ(read->Brush().Style(), bsClear);
}

TEST(HyperAreaTest, ScreenshotsShowTheOutlineInTheDesignerAndNothingAtRunTime) {
  for (bool designing : {true, false}) {
    TForm form(nullptr);
    form.SetClassName("TForm1");
    form.SetBounds(100, 100, 160, 110);
    form.SetDesigning(designing);
    auto* picture = new TImage(&form);
    picture->SetParent(&form);
    picture->SetBounds(10, 10, 140, 90);
    picture->Picture().SetData(TwoColourPng(140, 90));
    AreaOn(form, Rect(30, 30, 110, 70));
    form.Show();
    Application->ProcessMessages();
    TRawImage shot = CaptureForm(form);
    std::string out = std::string(MEBROX_TEST_OUTPUT) +
                      (designing ? "/hyperarea-designer.png" : "/hyperarea-runtime.png");
    SaveFormImage(form, out);
    form.Hide();

    const uint32_t left = 0x30A0E0, right = 0xF08030;
    EXPECT_EQ(shot.Pixel(50, 50) & 0xFFFFFF, left);  // inside the area: the picture shows
    EXPECT_EQ(shot.Pixel(100, 50) & 0xFFFFFF, right);
    // The area's left and bottom edges: the black outline in the designer, the picture else.
    EXPECT_EQ(shot.Pixel(30, 50) & 0xFFFFFF, designing ? 0u : left) << designing;
    EXPECT_EQ(shot.Pixel(100, 69) & 0xFFFFFF, designing ? 0u : right) << designing;
    EXPECT_TRUE(FileExists(out));
  }
}
