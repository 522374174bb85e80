#include "runtime/RuntimeClasses.h"

#include "host/TypInfo.h"
#include "runtime/Bookmark.h"
#include "runtime/HyperImg.h"
#include "runtime/HyperTxt.h"
#include "runtime/Hyprarea.h"
#include "runtime/WavePaus.h"
#include "runtime/WavePly.h"
#include "runtime/fxLbl.h"

namespace mebrox {

void RegisterRuntimeClasses() {
  host::TClassRegistry::Register(THyperTxt::StaticClassInfo(),
                                 [](host::TComponent* o) { return new THyperTxt(o); });
  host::TClassRegistry::Register(TBookMark::StaticClassInfo(),
                                 [](host::TComponent* o) { return new TBookMark(o); });
  host::TClassRegistry::Register(THyperImage::StaticClassInfo(),
                                 [](host::TComponent* o) { return new THyperImage(o); });
  host::TClassRegistry::Register(THyperArea::StaticClassInfo(),
                                 [](host::TComponent* o) { return new THyperArea(o); });
  host::TClassRegistry::Register(TWavePlay::StaticClassInfo(),
                                 [](host::TComponent* o) { return new TWavePlay(o); });
  host::TClassRegistry::Register(TWavePause::StaticClassInfo(),
                                 [](host::TComponent* o) { return new TWavePause(o); });
  host::TClassRegistry::Register(TfxLabel::StaticClassInfo(),
                                 [](host::TComponent* o) { return new TfxLabel(o); });
}

}  // namespace mebrox
