#include "ide/ToolIntf.h"

namespace ide {

TIToolServices* ToolServices = nullptr;

TIToolServices::~TIToolServices() = default;

bool TIToolServices::GetUnitSource(const std::string&, std::string&) {
  return false;
}

void TIToolServices::BeginStepGroup(const std::string&) {}

void TIToolServices::EndStepGroup() {}

void SetToolServices(TIToolServices* services) {
  ToolServices = services;
}

TStepGroup::TStepGroup(const std::string& name) : FServices(ToolServices) {
  if (FServices) FServices->BeginStepGroup(name);
}

TStepGroup::~TStepGroup() {
  if (FServices) FServices->EndStepGroup();
}

}  // namespace ide
