#pragma once

#include "host/Classes.h"

namespace mebrox {

// The type of the read-only About entry that the kit's components publish. It holds nothing:
// the object inspector opens the About box through the property editor bound to this type.
class TAboutMebrox : public host::TPersistent {
  HOST_PUBLISHED_CLASS
 public:
  TAboutMebrox() = default;
};

}  // namespace mebrox
