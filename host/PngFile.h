#pragma once

#include <string_view>

namespace host {

// Checks that bytes are a whole PNG file without decoding its pixels: the signature, a header
// with a size and pixel format PNG allows, every chunk complete with its checksum right, palette
// and image data where they belong, and the end chunk. Gives the size the header states. What
// damage this finds, decoding would find too; it costs a small part of a decode.
bool ReadPngSize(std::string_view bytes, int& width, int& height);

}  // namespace host
