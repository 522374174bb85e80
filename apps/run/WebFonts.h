#pragma once

#include <set>
#include <string>
#include <tuple>

#include "host/Graphics.h"

namespace mebrox {

// The faces the desktop draws the kit's fonts with (the Liberation fonts, metric-compatible with
// the old names), embedded in a published page so that its lines break where the desktop's do
// on any reader's machine. Their licence, the SIL Open Font License, allows that; other faces are
// named and left to the reader's browser.
class TWebFonts {
 public:
  // Where the Liberation fonts' files are; Debian's folder unless told otherwise.
  explicit TWebFonts(std::string folder = "/usr/share/fonts/truetype/liberation2");

  // The CSS font-family list for a font of the form files: the embedded face first where there
  // is one, then the font's own name, the face the desktop would take, and a generic family.
  // Notes the face and style as used.
  std::string Family(const host::TFont& font);
  // The faces used, as a style sheet with data URLs (a page opened from the disk may not load
  // font files beside it); empty when none can be embedded.
  std::string StyleSheet() const;
  // The licence of the embedded faces, to go beside them.
  std::string Licence() const;

 private:
  std::string FFolder;
  std::set<std::tuple<std::string, bool, bool>> FUsed;  // file stem, bold, italic
};

}  // namespace mebrox
