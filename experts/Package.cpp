#include "experts/Package.h"

#include "design/Mebroxr32.h"
#include "experts/Compini.h"
#include "experts/Projctrl.h"
#include "experts/Projview.h"

namespace mebrox {

void RegisterPackage(ide::TDesignCore& core) {
  Mebroxr32::Register(core);
  Projctrl::Register(core);
  Compini::Register(core);
  Projview::Register(core);
}

}  // namespace mebrox
