#include "host/TypInfo.h"

#include <map>

#include "host/Classes.h"
#include "host/SysUtils.h"

namespace host {

void RangeErrorFor(const std::string& name, int64_t value, int64_t min, int64_t max,
                   const std::string& why) {
  throw ERangeError(name + " " + std::to_string(value) + " is beyond " + why + " (" +
                    std::to_string(min) + " to " + std::to_string(max) + ")");
}

void InvalidCastFor(const TComponent* component, const std::string& wanted) {
  throw EInvalidCast(component->Name() + " is a " + component->ClassName() + ", not a " + wanted);
}

bool TClassInfo::InheritsFrom(const TClassInfo& other) const {
  for (const TClassInfo* c = this; c; c = c->FParent)
    if (c == &other) return true;
  return false;
}

std::vector<const TPropInfo*> TClassInfo::Properties() const {
  std::vector<const TPropInfo*> list =
      FParent ? FParent->Properties() : std::vector<const TPropInfo*>{};
  for (const TPropInfo& p : FOwn) {
    bool replaced = false;
    for (const TPropInfo*& existing : list)
      if (SameText(existing->Name, p.Name)) {
        existing = &p;
        replaced = true;
      }
    if (!replaced) list.push_back(&p);
  }
  return list;
}

const TPropInfo* TClassInfo::FindProperty(std::string_view name) const {
  for (const TClassInfo* c = this; c; c = c->FParent)
    for (const TPropInfo& p : c->FOwn)
      if (SameText(p.Name, name)) return &p;
  return nullptr;
}

namespace {
struct RegistryEntry {
  const TClassInfo* Info;
  TComponentFactory Factory;
};
struct NameLess {
  bool operator()(const std::string& a, const std::string& b) const {
    return CompareText(a, b) < 0;
  }
};
std::map<std::string, RegistryEntry, NameLess>& Registry() {
  static std::map<std::string, RegistryEntry, NameLess> registry;
  return registry;
}
}  // namespace

void TClassRegistry::Register(const TClassInfo& info, TComponentFactory factory) {
  Registry()[info.Name()] = RegistryEntry{&info, std::move(factory)};
}

const TComponentFactory* TClassRegistry::FindFactory(std::string_view className) {
  auto it = Registry().find(std::string(className));
  return it == Registry().end() ? nullptr : &it->second.Factory;
}

const TClassInfo* TClassRegistry::Find(std::string_view className) {
  auto it = Registry().find(std::string(className));
  return it == Registry().end() ? nullptr : it->second.Info;
}

}  // namespace host
