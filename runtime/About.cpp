#include "runtime/About.h"

namespace mebrox {

const host::TClassInfo& TAboutMebrox::StaticClassInfo() {
  static host::TClassInfo info("TAboutMebrox", &host::TPersistent::StaticClassInfo());
  return info;
}

}  // namespace mebrox
