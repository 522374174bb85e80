#include "ide/DesignIntf.h"

namespace ide {

bool TPropertyType::Matches(const host::TPropInfo& prop) const {
  if (Class) return prop.ObjectClass && prop.ObjectClass->InheritsFrom(*Class);
  return prop.Kind == Kind;
}

int TPropertyType::Depth() const {
  return ClassDepth(Class);
}

TPropertyType PropertyTypeOf(const host::TPropInfo& prop) {
  return {prop.Kind, prop.ObjectClass};
}

int ClassDepth(const host::TClassInfo* cls) {
  int depth = 0;
  for (; cls; cls = cls->Parent()) ++depth;
  return depth;
}

}  // namespace ide
