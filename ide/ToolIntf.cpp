#include "ide/ToolIntf.h"

namespace ide {

TIToolServices::~TIToolServices() = default;

bool TIToolServices::GetUnitSource(const std::string&, std::string&) {
  return false;
}

void TIToolServices::BeginStepGroup(const std::string&) {}

void TIToolServices::EndStepGroup() {}

TStepGroup::TStepGroup(TIToolServices* services, const std::string& name) : FServices(services) {
  if (FServices) FServices->BeginStepGroup(name);
}

TStepGroup::~TStepGroup() {
  if (FServices) FServices->EndStepGroup();
}

}  // namespace ide
