#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "host/Graphics.h"
#include "host/Types.h"

namespace host {

namespace detail {
struct TEmbeddedResource {
  const char* Name;
  const char* Folder;  // "cursors", "bitmaps", "forms"
  const unsigned char* Data;
  size_t Size;
};
extern const TEmbeddedResource EmbeddedResources[];  // ends with a null Name
}  // namespace detail

// A pointer image with its hot spot.
struct TCursorImage {
  std::string Name;
  TRawImage Image;
  TPoint HotSpot;
};

// The bytes of a resource compiled in from resources/, by name (exact case); nullopt when the
// kit has none of that name.
std::optional<std::string_view> FindResource(std::string_view name);

// Resources drawn as text pictures (see resources/README.md for the format). Loading the same
// name twice gives the same shared image. A name the kit does not have gives nullptr.
std::shared_ptr<const TCursorImage> LoadCursorResource(std::string_view name);
std::shared_ptr<const TRawImage> LoadBitmapResource(std::string_view name);

// Parses a text picture; a malformed one fails with EParserError naming sourceName and the line.
TCursorImage ParseTextPicture(std::string_view text, const std::string& sourceName);

}  // namespace host
