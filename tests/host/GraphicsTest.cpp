#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <string>

#include <limits>
#include <string>

#include "host/Graphics.h"
#include "host/MetricCanvas.h"
#include "host/PngFile.h"

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

// Sizes from a settings file or a form file may be anything; a font stays within what a screen
// can show, so that measuring its text cannot overflow.
TEST(GraphicsTest, FontHeightIsKeptWithinTheLimitEitherWay) {
  TFont font;
  font.SetSize(1073741826);
  EXPECT_EQ(font.Height(), -MaxFontHeight);
  font.SetHeight(std::numeric_limits<int>::min());
  EXPECT_EQ(font.Height(), -MaxFontHeight);
  font.SetHeight(std::numeric_limits<int>::max());
  EXPECT_EQ(font.Height(), MaxFontHeight);
  font.SetSize(-40);
  EXPECT_EQ(font.Size(), -40);

  TMetricSurface surface;
  TFont huge;
  huge.SetHeight(-MaxFontHeight);
  TSize extent = surface.TextExtent(std::string(1100000, 'x'), huge);
  EXPECT_GT(extent.cx, 0);
  EXPECT_GT(extent.cy, 0);
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

namespace {

// The tour's bookmark: a 40 x 56 RGBA PNG of 188 bytes.
std::string BookmarkPng() {
  const std::string hex =
      "89504E470D0A1A0A0000000D49484452000000280000003808060000008F28BA"
      "F6000000834944415478DAEDD2310E80201044D13984B5E7F488D6D6DE05A1B3"
      "30B284DD40F44FB209CD4C5E8154C926A5C8536FCAC8BEACE9C877E6F37C0304"
      "081020408000010204081020408000010204081020408000017E09583AD302EF"
      "BDE9804F5D8056E05B7F38D0B2310CD8B203B0E5DF59FF6318B0672F1C2887FC"
      "1728C7B801492517DF9BDB04A80859EE0000000049454E44AE426082";
  std::string bytes;
  for (size_t i = 0; i < hex.size(); i += 2)
    bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  return bytes;
}

std::string BigEndian(uint32_t n) {
  return {static_cast<char>(n >> 24), static_cast<char>(n >> 16), static_cast<char>(n >> 8),
          static_cast<char>(n)};
}

// A chunk with its length and checksum right.
std::string Chunk(const std::string& type, const std::string& data) {
  std::string typed = type + data;
  auto crc = static_cast<uint32_t>(
      crc32(0, reinterpret_cast<const Bytef*>(typed.data()), static_cast<uInt>(typed.size())));
  return BigEndian(static_cast<uint32_t>(data.size())) + typed + BigEndian(crc);
}

// The bookmark rebuilt from chunks, its header's pixel format bytes replaced.
std::string Rebuilt(char depth, char colourType, const std::string& beforeEnd = "") {
  const std::string png = BookmarkPng();
  std::string header = png.substr(16, 13);
  header[8] = depth;
  header[9] = colourType;
  const std::string data = png.substr(41, 0x83);
  return png.substr(0, 8) + Chunk("IHDR", header) + Chunk("IDAT", data) + beforeEnd +
         Chunk("IEND", "");
}

bool Readable(const std::string& bytes) {
  int width = 0, height = 0;
  return ReadPngSize(bytes, width, height);
}

}  // namespace

TEST(GraphicsTest, APngFileIsSizedFromItsHeaderOnlyWhenEveryChunkIsWhole) {
  const std::string png = BookmarkPng();
  int width = 0, height = 0;
  ASSERT_TRUE(ReadPngSize(png, width, height));
  EXPECT_EQ(width, 40);
  EXPECT_EQ(height, 56);
  EXPECT_TRUE(Readable(png + "trailing bytes"));  // what follows the end chunk is not read

  // Cut anywhere, or any byte changed: the header alone would not tell.
  for (size_t n = 0; n < png.size(); ++n)
    EXPECT_FALSE(Readable(png.substr(0, n))) << "cut at " << n;
  for (size_t i = 0; i < png.size(); ++i) {
    std::string damaged = png;
    damaged[i] = static_cast<char>(damaged[i] ^ 0x10);
    EXPECT_FALSE(Readable(damaged)) << "byte " << i << " changed";
  }
  EXPECT_FALSE(Readable("BM" + png.substr(2)));
  EXPECT_FALSE(Readable(""));

  // Whole chunks in an order or format no decoder takes.
  ASSERT_EQ(Rebuilt(8, 6), png);
  EXPECT_TRUE(Readable(Rebuilt(8, 6, Chunk("tEXt", "Comment\0a note"))));
  EXPECT_FALSE(Readable(Rebuilt(8, 6, Chunk("QUUX", "a critical chunk no decoder knows"))));
  EXPECT_FALSE(Readable(Rebuilt(3, 6)));  // no such bit depth
  EXPECT_FALSE(Readable(Rebuilt(8, 5)));  // no such colour type
  EXPECT_FALSE(Readable(Rebuilt(8, 3)));  // a palette image without its palette
  const std::string noEnd = png.substr(0, png.size() - 12);
  EXPECT_FALSE(Readable(noEnd + Chunk("tEXt", "Comment\0no end chunk")));
}
