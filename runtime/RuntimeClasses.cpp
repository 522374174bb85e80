#include "runtime/RuntimeClasses.h"

#include "host/TypInfo.h"
#include "runtime/Bookmark.h"
#include "runtime/HyperImg.h"
#include "runtime/HyperTxt.h"
#include "runtime/Hyprarea.h"
#include "runtime/Projctrl.h"
#include "runtime/WavePaus.h"
#include "runtime/WavePly.h"
#include "runtime/fxLbl.h"

namespace mebrox {

void RegisterRuntimeClasses() {
  host::TClassRegistry::Register<THyperTxt>();
  host::TClassRegistry::Register<TBookMark>();
  host::TClassRegistry::Register<THyperImage>();
  host::TClassRegistry::Register<THyperArea>();
  host::TClassRegistry::Register<TWavePlay>();
  host::TClassRegistry::Register<TWavePause>();
  host::TClassRegistry::Register<TfxLabel>();
  host::TClassRegistry::Register<TProjCtrl>();
}

}  // namespace mebrox
