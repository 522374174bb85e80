#include "host/PngFile.h"

#include <zlib.h>

#include <cstdint>

namespace host {

namespace {

constexpr std::string_view Signature("\x89PNG\r\n\x1A\n", 8);

uint32_t Crc(std::string_view bytes) {
  return static_cast<uint32_t>(
      crc32(0, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size())));
}

uint32_t BigEndian(std::string_view bytes, size_t at) {
  auto b = [&](size_t i) {
    return static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + i]));
  };
  return b(0) << 24 | b(1) << 16 | b(2) << 8 | b(3);
}

bool IsChunkLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The bit depths each colour type allows.
bool ValidFormat(unsigned depth, unsigned colourType) {
  switch (colourType) {
    case 0:
      return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case 3:
      return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    case 2:
    case 4:
    case 6:
      return depth == 8 || depth == 16;
    default:
      return false;
  }
}

}  // namespace

bool ReadPngSize(std::string_view bytes, int& width, int& height) {
  if (bytes.substr(0, Signature.size()) != Signature) return false;
  size_t pos = Signature.size();
  bool header = false, palette = false, data = false, dataEnded = false;
  unsigned colourType = 0;
  uint32_t w = 0, h = 0;
  for (;;) {
    if (bytes.size() - pos < 12) return false;  // length, type and checksum at least
    uint32_t length = BigEndian(bytes, pos);
    if (length > 0x7FFFFFFFu || bytes.size() - pos - 12 < length) return false;
    std::string_view typeAndData = bytes.substr(pos + 4, 4 + length);
    std::string_view type = typeAndData.substr(0, 4);
    std::string_view body = typeAndData.substr(4);
    for (char c : type)
      if (!IsChunkLetter(c)) return false;
    if (Crc(typeAndData) != BigEndian(bytes, pos + 8 + length)) return false;
    pos += 12 + length;

    if (!header) {
      if (type != "IHDR" || length != 13) return false;
      w = BigEndian(body, 0);
      h = BigEndian(body, 4);
      auto depth = static_cast<unsigned char>(body[8]);
      colourType = static_cast<unsigned char>(body[9]);
      if (w == 0 || h == 0 || w > 0x7FFFFFFFu || h > 0x7FFFFFFFu) return false;
      if (!ValidFormat(depth, colourType) || body[10] != 0 || body[11] != 0 ||
          (body[12] != 0 && body[12] != 1))
        return false;
      header = true;
      continue;
    }
    if (type == "IHDR") return false;
    if (type == "PLTE") {
      if (data || length == 0 || length % 3 != 0 || length > 3 * 256) return false;
      palette = true;
    } else if (type == "IDAT") {
      if (dataEnded || (colourType == 3 && !palette)) return false;
      data = true;
    } else if (type == "IEND") {
      if (!data || length != 0) return false;
      width = static_cast<int>(w);
      height = static_cast<int>(h);
      return true;
    } else if (type[0] >= 'A' && type[0] <= 'Z') {
      return false;  // a critical chunk a decoder would not know
    } else if (data) {
      dataEnded = true;  // image data comes in consecutive chunks
    }
  }
}

}  // namespace host
