#include <gtest/gtest.h>

#include "host/Graphics.h"
#include "host/MetricCanvas.h"

using namespace host;

TEST(GraphicsTest, ThirtySevenColourNamesInTheirListOrder) {
  const auto& names = ColorNames();
  ASSERT_EQ(names.size(), 37u);
  EXPECT_STREQ(names[0].Name, "clBlack");
  EXPECT_STREQ(names[11].Name, "clYellow");
  EXPECT_EQ(names[11].Color, 0x00FFFF);  // red FF, green FF, blue 00
  EXPECT_STREQ(names[16].Name, "clScrollBar");
  EXPECT_STREQ(names[36].Name, "clBtnHighlight");
  EXPECT_EQ(names[31].Color, SystemColor(15));  // clBtnFace
  for (const TColorName& n : names) EXPECT_EQ(StringToColor(ColorToString(n.Color)), n.Color);
}

TEST(GraphicsTest, UnnamedColoursAreNumbersThatConvertBack) {
  EXPECT_EQ(ColorToString(0x123456), "$00123456");
  EXPECT_EQ(StringToColor("$00123456"), 0x123456);
  EXPECT_EQ(StringToColor("4210752"), 0x404040);
  EXPECT_EQ(StringToColor("CLNAVY"), clNavy);
  EXPECT_THROW(StringToColor("clPink"), EConvertError);
  EXPECT_THROW(StringToColor(""), EConvertError);
  EXPECT_EQ(ColorToRGB(clRed), 0x0000FFu);
  EXPECT_EQ(ColorToRGB(clBtnFace), 0xC0C0C0u);
}

TEST(GraphicsTest, FontSizeAndHeightConvertAtNinetySixPixelsPerInch) {
  TFont font;
  int changes = 0;
  font.OnChange = [&](TObject*) { ++changes; };
  font.SetSize(12);
  EXPECT_EQ(font.Height(), -16);
  font.SetSize(20);
  EXPECT_EQ(font.Height(), -27);
  EXPECT_EQ(font.Size(), 20);
  font.SetSize(20);  // unchanged: no notification
  EXPECT_EQ(changes, 2);
  TFont copy;
  copy.Assign(font);
  EXPECT_TRUE(copy == font);
}

TEST(GraphicsTest, MetricSurfaceMeasuresByItsFormulaAndRecordsDrawing) {
  TMetricCanvas canvas;
  canvas.Font().SetSize(20);
  EXPECT_EQ(canvas.TextWidth("cat"), 30);
  EXPECT_EQ(canvas.TextHeight("cat"), 30);
  canvas.Font().SetStyle({fsBold});
  EXPECT_EQ(canvas.TextWidth("cat"), 33);
  EXPECT_EQ(canvas.TextWidth("é"), 11);  // one code point
  canvas.MoveTo(0, 0);
  canvas.TextOut(5, 7, "ab");
  EXPECT_EQ(canvas.PenPos(), (TPoint{27, 7}));
  // The default brush is solid white, which makes the text cell opaque.
  ASSERT_EQ(canvas.Ops().size(), 2u);
  EXPECT_EQ(canvas.Ops()[0].Kind, ckFill);
  EXPECT_EQ(canvas.Ops()[0].Rect, Rect(5, 7, 27, 37));
  canvas.Brush().SetStyle(bsClear);
  canvas.ClearOps();
  canvas.TextOut(0, 0, "x");
  ASSERT_EQ(canvas.Ops().size(), 1u);
  EXPECT_EQ(canvas.Ops()[0].Kind, ckText);
  EXPECT_EQ(canvas.Ops()[0].Rect, Rect(0, 0, 11, 30));
}

TEST(GraphicsTest, DrawTextAlignsWrapsAndUnderlinesTheAcceleratorCharacter) {
  TMetricCanvas canvas;
  canvas.Font().SetSize(10);  // 5 pixels a character, 15 a line
  canvas.Brush().SetStyle(bsClear);
  TRect r{0, 0, 50, 100};
  canvas.DrawText("&Open the file", r, DT_WORDBREAK);
  auto texts = canvas.OpsOf(ckText);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].Text, "Open the");
  EXPECT_EQ(texts[1].Text, "file");
  EXPECT_EQ(texts[1].Rect.Top, 15);
  ASSERT_EQ(canvas.OpsOf(ckLine).size(), 1u);
  EXPECT_EQ(canvas.OpsOf(ckLine)[0].Rect, Rect(0, 13, 5, 13));

  canvas.ClearOps();
  r = {0, 0, 50, 100};
  canvas.DrawText("a&&b", r, DT_RIGHT | DT_NOPREFIX);
  EXPECT_EQ(canvas.OpsOf(ckText)[0].Text, "a&&b");
  EXPECT_EQ(canvas.OpsOf(ckText)[0].Rect.Left, 30);

  canvas.ClearOps();
  r = {10, 10, 100, 100};
  int height = canvas.DrawText("ab\tc\r\nlonger line", r, DT_CALCRECT | DT_EXPANDTABS);
  EXPECT_TRUE(canvas.Ops().empty());
  EXPECT_EQ(height, 30);
  EXPECT_EQ(r, Rect(10, 10, 65, 40));  // "longer line" is the widest: 11 characters
}
