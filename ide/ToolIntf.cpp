#include "ide/ToolIntf.h"

namespace ide {

TIToolServices* ToolServices = nullptr;

TIToolServices::~TIToolServices() = default;

bool TIToolServices::GetUnitSource(const std::string&, std::string&) {
  return false;
}

void SetToolServices(TIToolServices* services) {
  ToolServices = services;
}

}  // namespace ide
