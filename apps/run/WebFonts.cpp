#include "apps/run/WebFonts.h"

#include <filesystem>
#include <string_view>

#include "host/SysUtils.h"

namespace mebrox {

namespace fs = std::filesystem;

namespace {

struct TFace {
  const char* Name;     // as form files name it
  const char* Stem;     // the Liberation file's name up to the style
  const char* Alias;    // the embedded face's family name in the page
  const char* Generic;  // CSS's generic family
};

const TFace Faces[] = {
    {"Times New Roman", "LiberationSerif", "mebrox-serif", "serif"},
    {"Liberation Serif", "LiberationSerif", "mebrox-serif", "serif"},
    {"Arial", "LiberationSans", "mebrox-sans", "sans-serif"},
    {"MS Sans Serif", "LiberationSans", "mebrox-sans", "sans-serif"},
    {"Liberation Sans", "LiberationSans", "mebrox-sans", "sans-serif"},
    {"Courier New", "LiberationMono", "mebrox-mono", "monospace"},
    {"Liberation Mono", "LiberationMono", "mebrox-mono", "monospace"},
};

const TFace* FindFace(const std::string& name) {
  for (const TFace& f : Faces)
    if (host::SameText(f.Name, name)) return &f;
  return nullptr;
}

std::string StyleName(bool bold, bool italic) {
  return bold ? (italic ? "BoldItalic" : "Bold") : (italic ? "Italic" : "Regular");
}

std::string Base64(std::string_view bytes) {
  static const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    uint32_t n = static_cast<uint8_t>(bytes[i]) << 16 | static_cast<uint8_t>(bytes[i + 1]) << 8 |
                 static_cast<uint8_t>(bytes[i + 2]);
    for (int shift = 18; shift >= 0; shift -= 6) out += digits[(n >> shift) & 63];
  }
  if (size_t rest = bytes.size() - i; rest > 0) {
    uint32_t n = static_cast<uint8_t>(bytes[i]) << 16 |
                 (rest > 1 ? static_cast<uint8_t>(bytes[i + 1]) << 8 : 0);
    out += digits[(n >> 18) & 63];
    out += digits[(n >> 12) & 63];
    out += rest > 1 ? digits[(n >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}

}  // namespace

TWebFonts::TWebFonts(std::string folder) : FFolder(std::move(folder)) {}

std::string TWebFonts::Family(const host::TFont& font) {
  const TFace* face = FindFace(font.Name());
  if (!face) {
    // A face name is the form file's text: nothing in it may end the string or the rule.
    std::string safe;
    for (char c : font.Name())
      if (std::string_view("'\"\\<>;{}&").find(c) == std::string_view::npos) safe += c;
    return "'" + safe + "', sans-serif";
  }
  std::string names = "'" + std::string(face->Name) + "', '" +
                      std::string(face->Stem).insert(10, " ") + "', " + face->Generic;
  std::error_code ec;
  if (!fs::is_regular_file(fs::path(FFolder) / (std::string(face->Stem) + "-Regular.ttf"), ec))
    return names;
  FUsed.insert(
      {face->Stem, font.Style().Contains(host::fsBold), font.Style().Contains(host::fsItalic)});
  return "'" + std::string(face->Alias) + "', " + names;
}

std::string TWebFonts::StyleSheet() const {
  std::string css;
  for (const auto& [stem, bold, italic] : FUsed) {
    fs::path file = fs::path(FFolder) / (stem + "-" + StyleName(bold, italic) + ".ttf");
    std::string bytes;
    try {
      bytes = host::ReadFileBytes(file.string());
    } catch (const std::exception&) {
      // The browser makes the style from the regular face, as it would from any.
      continue;
    }
    const char* alias = "";
    for (const TFace& f : Faces)
      if (stem == f.Stem) alias = f.Alias;
    css += std::string("@font-face {\n  font-family: '") + alias +
           "';\n  font-weight: " + (bold ? "bold" : "normal") +
           ";\n  font-style: " + (italic ? "italic" : "normal") +
           ";\n  src: url(data:font/ttf;base64," + Base64(bytes) + ") format('truetype');\n}\n";
  }
  if (!css.empty())
    css = "/* " + std::string("The Liberation fonts, under the SIL Open Font License 1.1 ") +
          "(fonts-LICENSE.txt). */\n" + css;
  return css;
}

std::string TWebFonts::Licence() const {
  for (const char* file : {"/usr/share/doc/fonts-liberation2/copyright",
                           "/usr/share/doc/fonts-liberation/copyright"}) {
    try {
      return host::ReadFileBytes(file);
    } catch (const std::exception&) {
    }
  }
  return "The Liberation fonts: Copyright (c) 2012 Red Hat, Inc. with Reserved Font Name "
         "Liberation; digitized data copyright (c) 2010 Google Corporation with Reserved Font "
         "Arimo, Tinos and Cousine. Licensed under the SIL Open Font License, Version 1.1.\n";
}

}  // namespace mebrox
