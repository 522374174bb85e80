#include "host/FileKind.h"

#include <algorithm>
#include <array>

#include "host/SysUtils.h"

namespace host {

namespace {

struct TSignature {
  std::string_view Head;
  const char* Kind;
};

// Kinds whose first bytes no text file of ours begins with.
constexpr std::array<TSignature, 11> Signatures = {{
    {"\x89PNG\r\n\x1a\n", "a PNG picture"},
    {"\xFF\xD8\xFF", "a JPEG picture"},
    {"GIF8", "a GIF picture"},
    {"TPF0", "a form file in the binary format"},
    {std::string_view("\xFF\x0A\x00", 3), "a form file in the binary format"},
    {std::string_view("\xFF\xFE\x00\x00", 4), "UTF-32 text"},
    {"\xFF\xFE", "UTF-16 text"},
    {"\xFE\xFF", "UTF-16 text"},
    {"\x7F"
     "ELF",
     "a program"},
    {"PK\x03\x04", "a ZIP archive"},
    {"%PDF-", "a PDF document"},
}};

// UTF-16 without a byte order mark: every other byte of its ASCII characters is zero.
bool LooksLikeBareUtf16(std::string_view head) {
  if (head.size() < 8) return false;
  size_t evenZero = 0, oddZero = 0;
  for (size_t i = 0; i + 1 < head.size(); i += 2) {
    evenZero += head[i] == '\0';
    oddZero += head[i + 1] == '\0';
  }
  const size_t pairs = head.size() / 2;
  return std::max(evenZero, oddZero) * 4 >= pairs * 3 && std::min(evenZero, oddZero) == 0;
}

}  // namespace

std::string ForeignFileKind(std::string_view bytes) {
  for (const TSignature& s : Signatures)
    if (bytes.starts_with(s.Head)) return s.Kind;
  if (bytes.starts_with("RIFF") && bytes.size() >= 12)
    return bytes.substr(8, 4) == "WAVE" ? "a wave sound" : "a RIFF file";
  std::string_view head = bytes.substr(0, 512);
  if (head.starts_with("BM") && head.find('\0') != std::string_view::npos)
    return "a bitmap picture";
  if (LooksLikeBareUtf16(head)) return "UTF-16 text";
  if (head.find('\0') != std::string_view::npos) return "a binary file";
  return {};
}

void RefuseForeignFile(std::string_view bytes, const std::string& fileName,
                       const std::string& expected) {
  std::string kind = ForeignFileKind(bytes);
  if (kind.empty()) return;
  std::string advice;
  if (kind.ends_with("text"))
    advice = ": save it as UTF-8";
  else if (kind == "a form file in the binary format")
    advice = ": save it as text";
  throw EParserError(fileName, 1,
                     "This is " + kind + ", but " + expected + " was expected" + advice);
}

}  // namespace host
