#include "ide/ClassProperty.h"

#include "ide/Registry.h"

namespace ide {

TPropertyAttributes TClassProperty::GetAttributes() const {
  return {paMultiSelect, paSubProperties, paReadOnly};
}

std::string TClassProperty::GetValue() const {
  return ClassNameValue();
}

// The sub-properties edit the sub-objects of every selected object together, each through the
// editor registered for it, as a component's own properties are.
void TClassProperty::GetProperties(const TGetPropEditProc& proc) const {
  std::vector<host::TPersistent*> objects = GetObjectValues();
  if (objects.empty()) return;
  for (const host::TPropInfo* prop : objects.front()->ClassInfo().Properties())
    if (PublishedByAll(objects, *prop)) proc(CreatePropertyEditor(Designer(), objects, *prop));
}

}  // namespace ide
