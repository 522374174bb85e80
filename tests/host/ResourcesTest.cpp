#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "host/Resources.h"
#include "host/SysUtils.h"

namespace {

constexpr uint32_t Clear = 0x00000000, Black = 0xFF000000, White = 0xFFFFFFFF;

using TDrawings = std::map<std::string, std::shared_ptr<const host::TRawImage>>;

// What every drawn bitmap shares: nothing but the sixteen classic colours, and enough opaque
// pixels to be a drawing rather than a stray mark.
void ExpectClassicColours(const host::TRawImage& bitmap, int minOpaque) {
  static const std::set<uint32_t> classic = {
      0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0x808080,
      0xC0C0C0, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
  int opaque = 0;
  for (uint32_t pixel : bitmap.Pixels) {
    if (pixel == Clear) continue;
    ++opaque;
    EXPECT_EQ(pixel >> 24, 0xFFu);
    EXPECT_TRUE(classic.contains(pixel & 0xFFFFFF)) << std::hex << pixel;
  }
  EXPECT_GE(opaque, minOpaque);
}

// Drawings on a transparent ground leave their corners clear, so none is a filled block.
void ExpectClearCorners(const host::TRawImage& bitmap) {
  const int right = bitmap.Width - 1, bottom = bitmap.Height - 1;
  const std::pair<int, int> corners[] = {{0, 0}, {right, 0}, {0, bottom}, {right, bottom}};
  for (auto [x, y] : corners) EXPECT_EQ(bitmap.Pixel(x, y), Clear) << "corner " << x << "," << y;
}

// Loads one group of bitmaps of one size and checks what they share besides the colours: the
// four corners left transparent. A name that fails to load is left out of the result.
TDrawings LoadClassicDrawings(std::initializer_list<const char*> names, int width, int height,
                              int minOpaque) {
  TDrawings drawings;
  for (const char* name : names) {
    SCOPED_TRACE(name);
    auto bitmap = host::LoadBitmapResource(name);
    if (!bitmap) {
      ADD_FAILURE() << "missing";
      continue;
    }
    if (bitmap->Width != width || bitmap->Height != height) {
      ADD_FAILURE() << "size " << bitmap->Width << " x " << bitmap->Height;
      continue;
    }
    ExpectClearCorners(*bitmap);
    ExpectClassicColours(*bitmap, minOpaque);
    drawings.emplace(name, bitmap);
  }
  return drawings;
}

// Whether a pixel counts towards the shape a disabled button greys out.
bool InShape(uint32_t pixel) {
  return pixel != Clear && pixel != White;
}

// Every two drawings of a group must differ in at least a tenth of their pixels, compared as
// colours or, with `shapes`, as shapes only; `twins` may be equal.
void ExpectPairwiseDistinct(const TDrawings& drawings, bool shapes,
                            std::set<std::pair<std::string, std::string>> twins = {}) {
  for (auto a = drawings.begin(); a != drawings.end(); ++a)
    for (auto b = std::next(a); b != drawings.end(); ++b) {
      if (twins.contains({a->first, b->first}) || twins.contains({b->first, a->first})) continue;
      const auto &pa = a->second->Pixels, &pb = b->second->Pixels;
      size_t differ = 0;
      for (size_t i = 0; i < pa.size(); ++i)
        differ += shapes ? InShape(pa[i]) != InShape(pb[i]) : pa[i] != pb[i];
      EXPECT_GE(differ * 10, pa.size()) << a->first << " and " << b->first;
    }
}

TEST(ResourcesTest, EveryCursorIsA32x32OutlinedPointerWithItsTipOnTheHotSpot) {
  for (const char* name : {"1HAND", "2FORM", "3WAVE", "4RUN", "5CLOSE", "6LINES", "HAND", "WAVE",
                           "FORM", "RUN", "BookMark", "CLOSE"}) {
    SCOPED_TRACE(name);
    auto cursor = host::LoadCursorResource(name);
    ASSERT_NE(cursor, nullptr);
    EXPECT_EQ(cursor->Name, name);
    ASSERT_EQ(cursor->Image.Width, 32);
    ASSERT_EQ(cursor->Image.Height, 32);
    EXPECT_EQ(cursor->HotSpot, (host::TPoint{0, 0}));
    EXPECT_EQ(cursor->Image.Pixel(0, 0), Black);
    std::set<uint32_t> colours(cursor->Image.Pixels.begin(), cursor->Image.Pixels.end());
    EXPECT_EQ(colours, (std::set<uint32_t>{Clear, Black, White}));
  }
}

TEST(ResourcesTest, ShadowBitmapsAlternateWhiteRowsWithBlackAndWhiteRows) {
  for (const char* name : {"SHADOW", "ISHADOW"}) {
    SCOPED_TRACE(name);
    auto bitmap = host::LoadBitmapResource(name);
    ASSERT_NE(bitmap, nullptr);
    ASSERT_EQ(bitmap->Width, 8);
    ASSERT_EQ(bitmap->Height, 8);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x)
        EXPECT_EQ(bitmap->Pixel(x, y), y % 2 == 1 && x % 2 == 0 ? Black : White) << x << "," << y;
  }
}

TEST(ResourcesTest, PauseAndPlayAreDistinctGlyphsOnATransparentGround) {
  auto glyphs = LoadClassicDrawings({"PAUSE", "PLAY"}, 14, 14, 20);
  ExpectPairwiseDistinct(glyphs, false);
}

TEST(ResourcesTest, PaletteImagesAreDistinct24x24DrawingsInClassicColours) {
  // The kit's own page and the studio's Standard page share the palette, so all are one group.
  auto images = LoadClassicDrawings(
      {"THYPERTXT", "THYPERIMAGE", "THYPERAREA", "TFXLABEL", "TWAVEPLAY", "TWAVEPAUSE", "TPROJCTRL",
       "TBOOKMARK", "TLABEL", "TIMAGE", "TPANEL", "TSHAPE", "TSPEEDBUTTON", "TBEVEL"},
      24, 24, 100);
  ExpectPairwiseDistinct(images, false);
}

TEST(ResourcesTest, ButtonGlyphsAre18x18ShapesThatStayDistinctWhenGreyed) {
  // The bitmap buttons' kinds and the design-time dialogs' buttons may stand side by side.
  auto glyphs =
      LoadClassicDrawings({"BBOK", "BBCANCEL", "BBHELP", "BBYES", "BBNO", "BBCLOSE", "BBABORT",
                           "BBRETRY", "BBIGNORE", "BBALL", "NEXT", "PREV", "CREATE", "OPENACTIONS",
                           "CLOSEACTIONS", "RECORD", "STOP", "PLAYBACK"},
                          18, 18, 40);
  // White would drop out of the greyed shape and leave a hole the coloured glyph does not have.
  for (const auto& [name, glyph] : glyphs)
    EXPECT_EQ(std::count(glyph->Pixels.begin(), glyph->Pixels.end(), White), 0) << name;
  ExpectPairwiseDistinct(glyphs, true, {{"BBOK", "BBYES"}});
}

// The Action Definition wizard's sample box, and where it draws each picture over EMPTY with
// the most room the picture may take there (0: up to the box's edge).
constexpr int SampleWidth = 92, SampleHeight = 73;
struct TSamplePlace {
  const char* Name;
  int X, Y, MaxWidth, MaxHeight;
};
constexpr TSamplePlace SamplePlaces[] = {
    {"DIALOG", 0, 0, 0, 0},      {"PICTURE", 5, 16, 0, 0},     {"AUDIO", 60, 20, 0, 0},
    {"APPEXPT", 15, 15, 62, 50}, {"WAVEPLAY", 15, 15, 62, 50}, {"DESC", 10, 10, 72, 55},
    {"EXIT", 15, 15, 62, 50},
};

const TSamplePlace& SamplePlace(std::string_view name) {
  return *std::find_if(std::begin(SamplePlaces), std::end(SamplePlaces),
                       [&](const TSamplePlace& place) { return place.Name == name; });
}

// The picture drawn at its point on a transparent sample box.
std::shared_ptr<const host::TRawImage> PlaceInSampleBox(const host::TRawImage& picture,
                                                        const TSamplePlace& place) {
  auto box = std::make_shared<host::TRawImage>();
  box->Width = SampleWidth;
  box->Height = SampleHeight;
  box->Pixels.assign(SampleWidth * SampleHeight, Clear);
  for (int y = 0; y < picture.Height && place.Y + y < SampleHeight; ++y)
    for (int x = 0; x < picture.Width && place.X + x < SampleWidth; ++x)
      box->Pixels[(place.Y + y) * SampleWidth + place.X + x] = picture.Pixel(x, y);
  return box;
}

TEST(ResourcesTest, TheSampleBackdropIsAnOpaque92x73Panel) {
  auto backdrop = host::LoadBitmapResource("EMPTY");
  ASSERT_NE(backdrop, nullptr);
  ASSERT_EQ(backdrop->Width, SampleWidth);
  ASSERT_EQ(backdrop->Height, SampleHeight);
  // Every pixel opaque, so that drawing it wipes out the previous action's picture.
  ExpectClassicColours(*backdrop, SampleWidth * SampleHeight);
}

TEST(ResourcesTest, SamplePicturesFitTheBoxAtTheirPointsAndDifferFromEachOther) {
  TDrawings placed;
  for (const auto& place : SamplePlaces) {
    SCOPED_TRACE(place.Name);
    auto picture = host::LoadBitmapResource(place.Name);
    if (!picture) {
      ADD_FAILURE() << "missing";
      continue;
    }
    EXPECT_LE(place.X + picture->Width, SampleWidth);
    EXPECT_LE(place.Y + picture->Height, SampleHeight);
    if (place.MaxWidth) {
      EXPECT_LE(picture->Width, place.MaxWidth);
      EXPECT_LE(picture->Height, place.MaxHeight);
    }
    ExpectClearCorners(*picture);
    ExpectClassicColours(*picture, picture->Width * picture->Height / 4);
    placed.emplace(place.Name, PlaceInSampleBox(*picture, place));
  }
  ExpectPairwiseDistinct(placed, false);
}

TEST(ResourcesTest, PictureAndAudioSitSideBySideInTheFramesWhiteClientArea) {
  auto frame = host::LoadBitmapResource("DIALOG");
  auto picture = host::LoadBitmapResource("PICTURE");
  auto audio = host::LoadBitmapResource("AUDIO");
  ASSERT_TRUE(frame && picture && audio);
  ASSERT_EQ(frame->Width, SampleWidth);
  ASSERT_EQ(frame->Height, SampleHeight);
  auto placedPicture = PlaceInSampleBox(*picture, SamplePlace("PICTURE"));
  auto placedAudio = PlaceInSampleBox(*audio, SamplePlace("AUDIO"));
  int onTitleOrBorder = 0, overlapping = 0;
  for (size_t i = 0; i < frame->Pixels.size(); ++i) {
    const bool inPicture = placedPicture->Pixels[i] != Clear;
    const bool inAudio = placedAudio->Pixels[i] != Clear;
    onTitleOrBorder += (inPicture || inAudio) && frame->Pixels[i] != White;
    overlapping += inPicture && inAudio;
  }
  EXPECT_EQ(onTitleOrBorder, 0);
  EXPECT_EQ(overlapping, 0);
}

TEST(ResourcesTest, TheEmblemIsA64x64RoundedSquareFillingThePicture) {
  auto emblem = LoadClassicDrawings({"MEBROX"}, 64, 64, 64 * 64 * 9 / 10);
  ASSERT_EQ(emblem.size(), 1u);
  const auto& image = *emblem.begin()->second;
  const std::pair<int, int> edgesAndMiddle[] = {{32, 0}, {0, 32}, {63, 32}, {32, 63}, {32, 32}};
  for (auto [x, y] : edgesAndMiddle) EXPECT_NE(image.Pixel(x, y), Clear) << x << "," << y;
}

TEST(ResourcesTest, UnknownNamesGiveNothingAndNamesAreCaseSensitive) {
  EXPECT_FALSE(host::FindResource("NOSUCH").has_value());
  EXPECT_EQ(host::LoadCursorResource("NOSUCH"), nullptr);
  EXPECT_EQ(host::LoadBitmapResource("NOSUCH"), nullptr);
  EXPECT_EQ(host::LoadCursorResource("bookmark"), nullptr);
  EXPECT_EQ(host::LoadCursorResource(""), nullptr);
  EXPECT_TRUE(host::FindResource("BookMark").has_value());
}

TEST(ResourcesTest, ASecondLoadGivesTheSameSharedPicture) {
  auto first = host::LoadCursorResource("6LINES");
  EXPECT_EQ(host::LoadCursorResource("6LINES"), first);
  auto bitmap = host::LoadBitmapResource("PLAY");
  EXPECT_EQ(host::LoadBitmapResource("PLAY"), bitmap);
  EXPECT_EQ(host::LoadBitmapResource("6LINES").get(), &first->Image);
}

TEST(ResourcesTest, EveryCompiledInPictureParses) {
  for (const auto* r = host::detail::EmbeddedResources; r->Name; ++r) {
    if (std::string(r->Folder) == "forms") continue;
    EXPECT_NO_THROW(host::ParseTextPicture(*host::FindResource(r->Name), r->Name)) << r->Name;
  }
}

TEST(ResourcesTest, ParsesCommentsPaletteRowsAndHotSpot) {
  auto picture = host::ParseTextPicture(
      "\xEF\xBB\xBF; a test\r\n"
      "picture 3 2  \r\n"
      "\n"
      "hotspot 2 1\n"
      "  . = transparent\n"
      "# = #000000\n"
      "r = #ff8000\n"
      ".#r\n"
      "; between the rows\n"
      "r#.",
      "test.txt");
  EXPECT_EQ(picture.Name, "test.txt");
  EXPECT_EQ(picture.HotSpot, (host::TPoint{2, 1}));
  EXPECT_EQ(picture.Image.Pixels,
            (std::vector<uint32_t>{Clear, Black, 0xFFFF8000, 0xFFFF8000, Black, Clear}));
  EXPECT_EQ(host::ParseTextPicture("picture 1 1\nx = #FFFFFF\nx\n", "t").HotSpot,
            (host::TPoint{0, 0}));
}

TEST(ResourcesTest, MalformedPicturesFailNamingTheLine) {
  const std::string ok = "picture 2 2\n# = #000000\n";
  const struct {
    std::string Text;
    int Line;
  } cases[] = {
      {"", 1},
      {"; only a comment\n# = #000000\n", 2},
      {"picture 2\n", 1},
      {"picture 0 1\n", 1},
      {"picture 1 257\n", 1},
      {"picture 257 1\n", 1},
      {"picture -1 1\n", 1},
      {"picture 2x 2\n", 1},
      {"picture 1 1\npicture 1 1\n", 2},
      {"picture 2 2\nsize 3 3\n", 2},
      {"picture 2 2\nhotspot 2 0\n", 2},
      {"picture 2 2\nhotspot 0 -1\n", 2},
      {"picture 2 2\nhotspot 0 0\nhotspot 1 1\n", 3},
      {"picture 2 2\nx = #12345\n", 2},
      {"picture 2 2\nx = #12345G\n", 2},
      {"picture 2 2\nx = black\n", 2},
      {"picture 2 2\nxy = #000000\n", 2},
      {"picture 2 2\n= = #000000\n", 2},
      {ok + "# = #FFFFFF\n", 3},
      {ok + "##\n#\n", 4},
      {ok + "###\n", 3},
      {ok + "##\n #\n", 4},
      {ok + "#x\n", 3},
      {ok + "##\n", 4},
      {ok + "##\n; a comment\n", 5},
      {ok + "##\n##\n##\n", 5},
      {ok + "##\no = #FFFFFF\n", 4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Text);
    try {
      host::ParseTextPicture(c.Text, "bad.txt");
      ADD_FAILURE() << "no error";
    } catch (const host::EParserError& e) {
      EXPECT_EQ(e.FileName(), "bad.txt");
      EXPECT_EQ(e.Line(), c.Line) << e.Message();
    }
  }
}

}  // namespace
