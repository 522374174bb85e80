#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace host {

class TPersistent;
class TComponent;
class TClassInfo;

// What a published property holds; the form files and the object inspector go by it.
enum class TPropKind {
  Integer,      // int
  Boolean,      // False / True
  Enumeration,  // an identifier from Names; the value is its ordinal
  Set,          // [a, b]: a bit mask over the ordinals of Names
  Color,        // a colour name or number
  String,       // text
  Strings,      // a string list, stored as Name.Strings = ( ... )
  Binary,       // bytes, stored as hex in braces
  Class,        // a persistent sub-object whose properties are stored with dotted names
  Component,    // another component of the same form, stored by its name
};

// One published property: its name, kind and the accessors that go through the class's getters
// and setters. Declared once per class, in published order.
struct TPropInfo {
  std::string Name;
  TPropKind Kind = TPropKind::Integer;
  const std::vector<std::string>* Names = nullptr;  // Enumeration and Set
  // Class: the sub-object's declaration; Strings: the class of the list the getter returns, so
  // that an editor registered for a list class serves its descendants; Component: the class a
  // referenced component must belong to.
  const TClassInfo* ObjectClass = nullptr;
  std::optional<int64_t> Default;  // ordinal kinds: not stored when equal
  bool Stored = true;              // false: shown, never written
  // When set, whether the value is written, in place of the default and empty-value rules: for
  // a value whose default depends on another property.
  std::function<bool(const TPersistent&)> StoredIf;

  std::function<int64_t(const TPersistent&)> GetOrd;
  std::function<void(TPersistent&, int64_t)> SetOrd;
  std::function<std::string(const TPersistent&)> GetStr;  // String and Binary
  std::function<void(TPersistent&, const std::string&)> SetStr;
  std::function<TPersistent*(TPersistent&)> GetObject;  // Strings and Class
  std::function<void(TPersistent&, const TPersistent&)> SetObject;
  std::function<TComponent*(const TPersistent&)> GetComponent;  // Component
  std::function<void(TPersistent&, TComponent*)> SetComponent;  // null clears the reference

  bool IsReadOnly() const { return !SetOrd && !SetStr && !SetObject && !SetComponent; }
  bool IsOrdinal() const {
    return Kind == TPropKind::Integer || Kind == TPropKind::Boolean ||
           Kind == TPropKind::Enumeration || Kind == TPropKind::Set || Kind == TPropKind::Color;
  }
};

using TComponentFactory = std::function<TComponent*(TComponent* owner)>;

// Raises EInvalidCast: component, whose class is not wanted, was given to a reference property.
[[noreturn]] void InvalidCastFor(const TComponent* component, const std::string& wanted);

// Positions and sizes a window system can show (X11 keeps them in 16 bits); a form file asking
// for more is damaged, and honouring it would take seconds and gigabytes.
inline constexpr int64_t MaxScreenExtent = 32767;
inline constexpr const char* ScreenExtentLimit = "what a screen can show";

// Raises ERangeError: value was given to property name, which takes min to max.
[[noreturn]] void RangeErrorFor(const std::string& name, int64_t value, int64_t min, int64_t max,
                                const std::string& why);

// The published face of a class: its name, its parent class and its own properties.
class TClassInfo {
 public:
  TClassInfo(std::string name, const TClassInfo* parent)
      : FName(std::move(name)), FParent(parent) {}

  const std::string& Name() const { return FName; }
  const TClassInfo* Parent() const { return FParent; }
  bool InheritsFrom(const TClassInfo& other) const;

  // Every published property, the ancestors' first, in declaration order. A property
  // redeclared by a descendant keeps its ancestor's place.
  std::vector<const TPropInfo*> Properties() const;
  const TPropInfo* FindProperty(std::string_view name) const;  // case-insensitive

  std::vector<TPropInfo>& OwnProperties() { return FOwn; }
  const std::vector<TPropInfo>& OwnProperties() const { return FOwn; }

 private:
  std::string FName;
  const TClassInfo* FParent;
  std::vector<TPropInfo> FOwn;
};

// Component classes by name, so that a form file can construct what it names.
class TClassRegistry {
 public:
  static void Register(const TClassInfo& info, TComponentFactory factory);
  // Registers component class T, constructed with its owner.
  template <class T>
  static void Register() {
    Register(T::StaticClassInfo(), [](TComponent* owner) -> TComponent* { return new T(owner); });
  }
  static const TComponentFactory* FindFactory(std::string_view className);
  static const TClassInfo* Find(std::string_view className);
};

// Builds a class's property list with typed accessors:
//   TPublisher<TFoo>(info).Integer("Count", &TFoo::Count, &TFoo::SetCount);
// Getters and setters are anything std::invoke can call on the object (member functions,
// lambdas taking the object).
template <class T>
class TPublisher {
 public:
  explicit TPublisher(TClassInfo& info) : FInfo(info) {}

  template <class G, class S>
  TPublisher& Integer(std::string name, G get, S set, std::optional<int64_t> def = {}) {
    return Ordinal(std::move(name), TPropKind::Integer, get, set, def);
  }
  template <class G, class S>
  TPublisher& Boolean(std::string name, G get, S set, std::optional<bool> def = {}) {
    std::optional<int64_t> d;
    if (def) d = *def ? 1 : 0;
    return Ordinal(std::move(name), TPropKind::Boolean, get, set, d);
  }
  template <class G, class S>
  TPublisher& Color(std::string name, G get, S set, std::optional<int64_t> def = {}) {
    return Ordinal(std::move(name), TPropKind::Color, get, set, def);
  }
  template <class G, class S>
  TPublisher& Enumeration(std::string name, const std::vector<std::string>& names, G get, S set,
                          std::optional<int64_t> def = {}) {
    Ordinal(std::move(name), TPropKind::Enumeration, get, set, def);
    FInfo.OwnProperties().back().Names = &names;
    return *this;
  }
  // The getter returns a TSet (anything with Mask()); the setter takes the same type.
  template <class G, class S>
  TPublisher& Set(std::string name, const std::vector<std::string>& names, G get, S set,
                  std::optional<int64_t> def = {}) {
    using SetType = std::decay_t<std::invoke_result_t<G, const T&>>;
    TPropInfo p;
    p.Name = std::move(name);
    p.Kind = TPropKind::Set;
    p.Names = &names;
    p.Default = def;
    p.GetOrd = [get](const TPersistent& o) -> int64_t {
      return std::invoke(get, static_cast<const T&>(o)).Mask();
    };
    p.SetOrd = [set](TPersistent& o, int64_t v) {
      std::invoke(set, static_cast<T&>(o), SetType::FromMask(static_cast<uint32_t>(v)));
    };
    return Add(std::move(p));
  }
  template <class G, class S>
  TPublisher& String(std::string name, G get, S set) {
    return Text(std::move(name), TPropKind::String, get, set);
  }
  template <class G, class S>
  TPublisher& Binary(std::string name, G get, S set) {
    return Text(std::move(name), TPropKind::Binary, get, set);
  }
  // A string list: the getter returns the owned list, the setter copies a list of type L in.
  // The form reader hands the setter a plain list, so L stays the base the setter takes.
  template <class L, class G, class S>
  TPublisher& Strings(std::string name, G get, S set) {
    using List = std::decay_t<std::invoke_result_t<G, T&>>;
    return Object<L>(std::move(name), TPropKind::Strings, &List::StaticClassInfo(), get, set);
  }
  // A persistent sub-object. Pass nullptr as setter for a read-only one.
  template <class O, class G, class S>
  TPublisher& SubObject(std::string name, G get, S set) {
    return Object<O>(std::move(name), TPropKind::Class, &O::StaticClassInfo(), get, set);
  }

  // A reference to a component of class C (or a descendant) on the same form. The setter
  // takes a C*; a component of another class fails with EInvalidCast.
  template <class C, class G, class S>
  TPublisher& Component(std::string name, G get, S set) {
    TPropInfo p;
    p.Name = std::move(name);
    p.Kind = TPropKind::Component;
    p.ObjectClass = &C::StaticClassInfo();
    p.GetComponent = [get](const TPersistent& o) -> TComponent* {
      return std::invoke(get, static_cast<const T&>(o));
    };
    p.SetComponent = [set](TPersistent& o, TComponent* c) {
      C* typed = dynamic_cast<C*>(c);
      if (c && !typed) InvalidCastFor(c, C::StaticClassInfo().Name());
      std::invoke(set, static_cast<T&>(o), typed);
    };
    return Add(std::move(p));
  }

  TPublisher& NotStored() {
    FInfo.OwnProperties().back().Stored = false;
    return *this;
  }
  // Limits the last Integer property to [min, max]; why is said in the error a value outside
  // gets, e.g. "what a screen can show".
  TPublisher& Range(int64_t min, int64_t max, std::string why) {
    TPropInfo& p = FInfo.OwnProperties().back();
    p.SetOrd = [set = std::move(p.SetOrd), min, max, why = std::move(why), name = p.Name](
                   TPersistent& o, int64_t v) {
      if (v < min || v > max) RangeErrorFor(name, v, min, max, why);
      set(o, v);
    };
    return *this;
  }
  template <class P>
  TPublisher& StoredIf(P stored) {
    FInfo.OwnProperties().back().StoredIf = [stored](const TPersistent& o) {
      return std::invoke(stored, static_cast<const T&>(o));
    };
    return *this;
  }

 private:
  TPublisher& Add(TPropInfo p) {
    FInfo.OwnProperties().push_back(std::move(p));
    return *this;
  }

  template <class G, class S>
  TPublisher& Ordinal(std::string name, TPropKind kind, G get, S set, std::optional<int64_t> def) {
    TPropInfo p;
    p.Name = std::move(name);
    p.Kind = kind;
    p.Default = def;
    p.GetOrd = [get](const TPersistent& o) -> int64_t {
      return static_cast<int64_t>(std::invoke(get, static_cast<const T&>(o)));
    };
    if constexpr (!std::is_same_v<S, std::nullptr_t>) {
      p.SetOrd = [set, name = p.Name, kind](TPersistent& o, int64_t v) {
        using Arg = typename SetterArg<S>::type;
        // A number the setter's type cannot hold would arrive as another number.
        if constexpr (std::is_integral_v<Arg> && sizeof(Arg) < sizeof(int64_t)) {
          if (kind == TPropKind::Integer &&
              (v < std::numeric_limits<Arg>::min() || v > std::numeric_limits<Arg>::max()))
            RangeErrorFor(name, v, std::numeric_limits<Arg>::min(), std::numeric_limits<Arg>::max(),
                          "what the property holds");
        }
        std::invoke(set, static_cast<T&>(o), static_cast<Arg>(v));
      };
    }
    return Add(std::move(p));
  }

  template <class G, class S>
  TPublisher& Text(std::string name, TPropKind kind, G get, S set) {
    TPropInfo p;
    p.Name = std::move(name);
    p.Kind = kind;
    p.GetStr = [get](const TPersistent& o) -> std::string {
      return std::string(std::invoke(get, static_cast<const T&>(o)));
    };
    if constexpr (!std::is_same_v<S, std::nullptr_t>) {
      p.SetStr = [set](TPersistent& o, const std::string& v) {
        std::invoke(set, static_cast<T&>(o), v);
      };
    }
    return Add(std::move(p));
  }

  template <class O, class G, class S>
  TPublisher& Object(std::string name, TPropKind kind, const TClassInfo* cls, G get, S set) {
    TPropInfo p;
    p.Name = std::move(name);
    p.Kind = kind;
    p.ObjectClass = cls;
    p.GetObject = [get](TPersistent& o) -> TPersistent* {
      return &std::invoke(get, static_cast<T&>(o));
    };
    if constexpr (!std::is_same_v<S, std::nullptr_t>) {
      p.SetObject = [set](TPersistent& o, const TPersistent& v) {
        std::invoke(set, static_cast<T&>(o), static_cast<const O&>(v));
      };
    }
    return Add(std::move(p));
  }

  // The parameter type of a setter, so that stored ordinals convert to enums and bools.
  template <class S>
  struct SetterArg;
  template <class C, class A>
  struct SetterArg<void (C::*)(A)> {
    using type = std::decay_t<A>;
  };
  template <class F>
  struct SetterArg : SetterArg<decltype(&F::operator())> {};
  template <class L, class O, class A>
  struct SetterArg<void (L::*)(O&, A) const> {
    using type = std::decay_t<A>;
  };

  TClassInfo& FInfo;
};

}  // namespace host
