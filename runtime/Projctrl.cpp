#include "runtime/Projctrl.h"

namespace mebrox {

const host::TClassInfo& TProjCtrl::StaticClassInfo() {
  // No properties of its own: only the design position every component keeps.
  static host::TClassInfo info("TProjCtrl", &host::TComponent::StaticClassInfo());
  return info;
}

}  // namespace mebrox
