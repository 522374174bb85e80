#pragma once

#include <string>
#include <type_traits>

#include "host/Strings.h"
#include "host/TypInfo.h"

namespace host {
class TForm;
}

namespace ide {

class TDesignCore;
class TIToolServices;

// What the editors tell and ask the form designer that runs them.
class IDesigner {
 public:
  virtual ~IDesigner() = default;
  // The designed form changed: it needs saving, and whatever shows it needs refreshing.
  virtual void Modified() = 0;
  // Names the step the next Modified ends, for the Edit menu ("Change Caption of Label1"); steps
  // with the same merge key, one right after another, are taken back as one.
  virtual void NameStep(const std::string& name, const std::string& mergeKey) {}
  // The form being designed.
  virtual host::TForm* GetRoot() = 0;
  // The IDE the designer works in: the editors of sub-properties and components come from
  // what was registered with it.
  virtual TDesignCore& Core() = 0;
  // The project the form belongs to; null when it belongs to none.
  virtual TIToolServices* ToolServices() { return nullptr; }
};

// What a property editor is registered for: a kind of value (every integer property, every
// set ...), or a class, which takes in the properties of its descendants as well.
struct TPropertyType {
  host::TPropKind Kind = host::TPropKind::Integer;
  const host::TClassInfo* Class = nullptr;

  bool Matches(const host::TPropInfo& prop) const;
  // How narrowly the type picks properties: 0 for a kind, a class by its depth in the tree.
  int Depth() const;
  friend bool operator==(const TPropertyType&, const TPropertyType&) = default;
};

TPropertyType PropertyTypeOf(const host::TPropInfo& prop);

inline TPropertyType KindType(host::TPropKind kind) {
  return {kind, nullptr};
}
inline TPropertyType IntegerType() {
  return KindType(host::TPropKind::Integer);
}
inline TPropertyType BooleanType() {
  return KindType(host::TPropKind::Boolean);
}
inline TPropertyType EnumerationType() {
  return KindType(host::TPropKind::Enumeration);
}
inline TPropertyType SetType() {
  return KindType(host::TPropKind::Set);
}
inline TPropertyType ColorType() {
  return KindType(host::TPropKind::Color);
}
inline TPropertyType StringType() {
  return KindType(host::TPropKind::String);
}
inline TPropertyType BinaryType() {
  return KindType(host::TPropKind::Binary);
}
inline TPropertyType StringListType() {
  return KindType(host::TPropKind::Strings);
}

// Class T and its descendants; string list classes are published as string lists.
template <class T>
TPropertyType ClassType() {
  constexpr host::TPropKind kind =
      std::is_base_of_v<host::TStrings, T> ? host::TPropKind::Strings : host::TPropKind::Class;
  return {kind, &T::StaticClassInfo()};
}

// How many classes a class descends through, itself included; 0 for none.
int ClassDepth(const host::TClassInfo* cls);

}  // namespace ide
