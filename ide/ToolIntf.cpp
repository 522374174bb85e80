#include "ide/ToolIntf.h"

namespace ide {

TIToolServices* ToolServices = nullptr;

TIToolServices::~TIToolServices() = default;

void SetToolServices(TIToolServices* services) {
  ToolServices = services;
}

}  // namespace ide
