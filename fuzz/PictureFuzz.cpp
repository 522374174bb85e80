// Gives arbitrary bytes to a picture, as a form file's picture data or a dropped file would, and
// shows it in a hot image on a real Qt painter, fitted and stretched. A picture keeps the bytes
// it was given whether it can show them or not, and reads back from its file as it was.
#include <QImageReader>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "host/Graphics.h"
#include "runtime/HyperImg.h"

using namespace host;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 65536) return -1;
  fuzz_support::StartGui();
  // A picture header may claim any size; decoding hundreds of megabytes per input would leave
  // no time for anything else.
  static bool limited = [] {
    QImageReader::setAllocationLimit(16);
    return true;
  }();
  (void)limited;
  fuzz_support::ResetDialogs();

  std::string bytes(reinterpret_cast<const char*>(data), size);
  TPicture picture;
  try {
    picture.SetData(bytes);
  } catch (const EInvalidGraphic&) {
    if (!picture.Empty()) std::abort();
  }
  if (picture.Data() != bytes) std::abort();

  std::string file = fuzz_support::Scratch().File("picture.img");
  picture.SaveToFile(file);
  TPicture loaded;
  try {
    loaded.LoadFromFile(file);
    if (picture.Empty() || loaded.Data() != bytes) std::abort();
    if (loaded.Width() != picture.Width() || loaded.Height() != picture.Height()) std::abort();
  } catch (const EInvalidGraphic&) {
    // A file that is no picture leaves the picture as it was.
    if (!picture.Empty() || !loaded.Empty()) std::abort();
  }

  // In a hot image: fitted to the picture, then stretched over a fixed size, with its shadow.
  TForm form(nullptr);
  auto* image = new mebrox::THyperImage(&form);
  image->SetParent(&form);
  image->SetBounds(0, 0, 64, 48);
  image->SetAllowShadow(size % 2 == 0);
  try {
    image->SetPicture(picture);
  } catch (const EInvalidGraphic&) {
  }
  fuzz_support::Paint(*image, 96, 72);
  image->SetStretch(true);
  image->SetBounds(0, 0, 96, 72);
  fuzz_support::Paint(*image, 96, 72);
  return 0;
}
