#include "experts/Package.h"

#include "design/Mebroxr32.h"
#include "experts/Compini.h"
#include "experts/Projctrl.h"
#include "experts/Projview.h"

namespace mebrox {

void RegisterPackage() {
  Mebroxr32::Register();
  Projctrl::Register();
  Compini::Register();
  Projview::Register();
}

}  // namespace mebrox
