#include "host/Resources.h"

#include <charconv>
#include <functional>
#include <map>
#include <utility>
#include <vector>

#include "host/SysUtils.h"

namespace host {

std::optional<std::string_view> FindResource(std::string_view name) {
  for (const detail::TEmbeddedResource* r = detail::EmbeddedResources; r->Name; ++r)
    if (name == r->Name) return std::string_view(reinterpret_cast<const char*>(r->Data), r->Size);
  return std::nullopt;
}

namespace {

constexpr int MaxPictureSide = 256;
constexpr uint32_t TransparentPixel = 0x00000000;

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

std::vector<std::string_view> SplitWords(std::string_view line) {
  std::vector<std::string_view> words;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    size_t start = i;
    while (i < line.size() && !IsBlank(line[i])) ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

// Printable, and not one of the characters the format itself gives a meaning.
bool IsPaletteCharacter(char c) {
  return c > ' ' && c < 0x7F && c != '=' && c != ';';
}

std::string Quoted(char c) {
  if (c > ' ' && c < 0x7F) return std::string("'") + c + "'";
  static const char digits[] = "0123456789ABCDEF";
  const auto byte = static_cast<unsigned char>(c);
  return std::string("byte $") + digits[byte >> 4] + digits[byte & 15];
}

class TPictureParser {
 public:
  TPictureParser(std::string_view text, std::string sourceName)
      : FText(text), FSourceName(std::move(sourceName)) {}

  TCursorImage Parse() {
    if (FText.starts_with("\xEF\xBB\xBF")) FText.remove_prefix(3);  // editors' UTF-8 mark
    size_t pos = 0;
    while (pos < FText.size()) {
      size_t end = FText.find('\n', pos);
      if (end == std::string_view::npos) end = FText.size();
      ++FLine;
      ParseLine(FText.substr(pos, end - pos));
      pos = end + 1;
    }
    ++FLine;  // the end of the text counts as the line after the last
    if (!FHaveSize) Fail("missing 'picture WIDTH HEIGHT'");
    if (FRows < FResult.Image.Height)
      Fail("the picture has " + std::to_string(FRows) + " rows, expected " +
           std::to_string(FResult.Image.Height));
    return std::move(FResult);
  }

 private:
  [[noreturn]] void Fail(const std::string& message) const {
    throw EParserError(FSourceName, FLine, message);
  }

  void ParseLine(std::string_view line) {
    while (!line.empty() && IsBlank(line.back())) line.remove_suffix(1);
    size_t first = 0;
    while (first < line.size() && IsBlank(line[first])) ++first;
    if (first == line.size() || line[first] == ';') return;
    // A row holds palette characters only, so a line with a blank in it is a setting.
    if (line.find_first_of(" \t") == std::string_view::npos && FHaveSize)
      ParseRow(line);
    else
      ParseSetting(SplitWords(line));
  }

  void ParseSetting(const std::vector<std::string_view>& words) {
    if (!FHaveSize && words[0] != "picture") Fail("expected 'picture WIDTH HEIGHT' first");
    if (FHaveSize && IsIndentedRow(words)) Fail("a row of the picture must not hold blanks");
    if (FRows > 0) Fail("'" + std::string(words[0]) + "' after the first row of the picture");
    if (words[0] == "picture")
      ParseSize(words);
    else if (words[0] == "hotspot")
      ParseHotSpot(words);
    else if (words.size() >= 2 && words[1] == "=")
      ParsePaletteEntry(words);
    else
      Fail("unknown setting '" + std::string(words[0]) + "'");
  }

  bool IsIndentedRow(const std::vector<std::string_view>& words) const {
    for (std::string_view word : words)
      for (char c : word)
        if (!FPalette.contains(c)) return false;
    return true;
  }

  int Number(std::string_view word, const char* what) const {
    int value = 0;
    auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (error != std::errc() || end != word.data() + word.size())
      Fail(std::string(what) + " '" + std::string(word) + "' is not a valid number");
    return value;
  }

  void ParseSize(const std::vector<std::string_view>& words) {
    if (FHaveSize) Fail("a second 'picture' line");
    if (words.size() != 3) Fail("expected 'picture WIDTH HEIGHT'");
    const int width = Number(words[1], "width");
    const int height = Number(words[2], "height");
    if (width < 1 || width > MaxPictureSide || height < 1 || height > MaxPictureSide)
      Fail("picture size " + std::to_string(width) + " x " + std::to_string(height) +
           " is outside 1 to " + std::to_string(MaxPictureSide));
    FResult.Image.Width = width;
    FResult.Image.Height = height;
    FResult.Image.Pixels.assign(static_cast<size_t>(width) * height, TransparentPixel);
    FHaveSize = true;
  }

  void ParseHotSpot(const std::vector<std::string_view>& words) {
    if (FHaveHotSpot) Fail("a second 'hotspot' line");
    if (words.size() != 3) Fail("expected 'hotspot X Y'");
    const int x = Number(words[1], "hot spot x");
    const int y = Number(words[2], "hot spot y");
    if (x < 0 || x >= FResult.Image.Width || y < 0 || y >= FResult.Image.Height)
      Fail("hot spot (" + std::to_string(x) + ", " + std::to_string(y) +
           ") lies outside the picture");
    FResult.HotSpot = {x, y};
    FHaveHotSpot = true;
  }

  void ParsePaletteEntry(const std::vector<std::string_view>& words) {
    if (words.size() != 3 || words[0].size() != 1)
      Fail("expected a palette entry 'CHARACTER = COLOUR'");
    const char c = words[0][0];
    if (!IsPaletteCharacter(c)) Fail(Quoted(c) + " cannot stand for a colour");
    if (FPalette.contains(c)) Fail("colour " + Quoted(c) + " is defined twice");
    FPalette[c] = Colour(words[2]);
  }

  uint32_t Colour(std::string_view word) const {
    if (word == "transparent") return TransparentPixel;
    uint32_t rgb = 0;
    if (word.size() == 7 && word[0] == '#') {
      auto [end, error] = std::from_chars(word.data() + 1, word.data() + 7, rgb, 16);
      if (error == std::errc() && end == word.data() + 7) return 0xFF000000u | rgb;
    }
    Fail("colour '" + std::string(word) + "' is neither 'transparent' nor '#RRGGBB'");
  }

  void ParseRow(std::string_view row) {
    const int width = FResult.Image.Width;
    if (FRows == FResult.Image.Height)
      Fail("more than the " + std::to_string(FResult.Image.Height) + " rows of the picture");
    if (row.size() != static_cast<size_t>(width))
      Fail("the row has " + std::to_string(row.size()) + " characters, expected " +
           std::to_string(width));
    for (int x = 0; x < width; ++x) {
      auto colour = FPalette.find(row[static_cast<size_t>(x)]);
      if (colour == FPalette.end())
        Fail(Quoted(row[static_cast<size_t>(x)]) + " in column " + std::to_string(x + 1) +
             " is not in the palette");
      FResult.Image.Pixels[static_cast<size_t>(FRows * width + x)] = colour->second;
    }
    ++FRows;
  }

  std::string_view FText;
  std::string FSourceName;
  int FLine = 0;
  TCursorImage FResult;
  std::map<char, uint32_t> FPalette;
  bool FHaveSize = false;
  bool FHaveHotSpot = false;
  int FRows = 0;
};

// Each drawing is parsed once; the kit only touches this from the user-interface thread.
std::map<std::string, std::shared_ptr<const TCursorImage>, std::less<>>& LoadedPictures() {
  static std::map<std::string, std::shared_ptr<const TCursorImage>, std::less<>> pictures;
  return pictures;
}

}  // namespace

TCursorImage ParseTextPicture(std::string_view text, const std::string& sourceName) {
  TCursorImage picture = TPictureParser(text, sourceName).Parse();
  picture.Name = sourceName;
  return picture;
}

std::shared_ptr<const TCursorImage> LoadCursorResource(std::string_view name) {
  auto& pictures = LoadedPictures();
  if (auto found = pictures.find(name); found != pictures.end()) return found->second;
  const std::optional<std::string_view> text = FindResource(name);
  if (!text) return nullptr;
  auto picture =
      std::make_shared<TCursorImage>(ParseTextPicture(*text, std::string(name) + ".txt"));
  picture->Name = name;
  pictures.emplace(std::string(name), picture);
  return picture;
}

std::shared_ptr<const TRawImage> LoadBitmapResource(std::string_view name) {
  std::shared_ptr<const TCursorImage> picture = LoadCursorResource(name);
  if (!picture) return nullptr;
  // Shares ownership with the cached picture, so both loaders hand out the one parsed copy.
  return std::shared_ptr<const TRawImage>(picture, &picture->Image);
}

}  // namespace host
