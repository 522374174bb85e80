#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/Classes.h"
#include "host/Types.h"
#include "ide/DesignIntf.h"

namespace ide {

enum TPropertyAttribute {
  paValueList,      // GetValues lists the values the property takes
  paSubProperties,  // GetProperties gives editors of its parts
  paDialog,         // Edit opens a dialog
  paMultiSelect,    // may edit several selected objects at once
  paAutoUpdate,     // SetValue on every change of the text, not only when it is confirmed
  paSortList,       // the value list is shown sorted
  paReadOnly,       // the value cannot be typed
  paRevertable      // may be reset to its inherited value
};
using TPropertyAttributes = host::TSet<TPropertyAttribute>;

class TPropertyEditor;
using TGetStrProc = std::function<void(const std::string& value)>;
// Receives the editor of each sub-property, and with it the editor's ownership.
using TGetPropEditProc = std::function<void(std::unique_ptr<TPropertyEditor> editor)>;

// Shows and changes one published property of the selected objects, as text. The objects are
// components, or the sub-objects of components (a control's font) for sub-properties. Every
// change goes through the property's setter on each object and tells the designer.
class TPropertyEditor {
 public:
  // instances: at least one, each publishing propInfo's property (by name) with its kind.
  TPropertyEditor(IDesigner& designer, std::vector<host::TPersistent*> instances,
                  const host::TPropInfo& propInfo);
  virtual ~TPropertyEditor() = default;
  TPropertyEditor(const TPropertyEditor&) = delete;
  TPropertyEditor& operator=(const TPropertyEditor&) = delete;

  virtual TPropertyAttributes GetAttributes() const;
  // A double-click in the inspector. Without a dialog, a value list steps to its next value.
  virtual void Edit();
  virtual std::string GetName() const;
  // The value as the inspector shows it, taken from the first object.
  virtual std::string GetValue() const;
  // Text that is no value of the property fails with EConvertError and changes nothing.
  virtual void SetValue(const std::string& value);
  virtual void GetValues(const TGetStrProc& proc) const;
  virtual void GetProperties(const TGetPropEditProc& proc) const;

  IDesigner& Designer() const { return FDesigner; }
  int PropCount() const { return static_cast<int>(FInstances.size()); }
  host::TPersistent* GetComponent(int index) const;
  const host::TPropInfo& GetPropInfo() const { return *FPropInfos.front(); }
  void Modified();

  // Typed access to the first object's value; setting goes to every object, then Modified.
  int64_t GetOrdValue() const;
  void SetOrdValue(int64_t value);
  std::string GetStrValue() const;
  void SetStrValue(const std::string& value);
  host::TPersistent* GetObjectValue() const;
  // The object must be of the property's class (any string list for a string list property).
  void SetObjectValue(const host::TPersistent& value);
  // A reference to another component; null for none.
  host::TComponent* GetComponentValue() const;
  void SetComponentValue(host::TComponent* value);

 protected:
  // Sets each object's ordinal to change(its own current value): a set element flips one bit
  // of every selected object's own set.
  void ChangeOrdValues(const std::function<int64_t(int64_t current)>& change);
  // Each object's sub-object (a font, a list), in selection order; empty when one has none.
  std::vector<host::TPersistent*> GetObjectValues() const;
  // "'abc' is not a valid value for Width".
  host::EConvertError InvalidValue(const std::string& text) const;
  // "(TFont)": the class the property is declared with.
  std::string ClassNameValue() const;
  // attributes, with paReadOnly when the property has no setter.
  TPropertyAttributes WithReadOnly(TPropertyAttributes attributes) const;

 private:
  enum class TAccess { Ordinal, Text, Object, Reference };
  static bool CanRead(const host::TPropInfo& p, TAccess access);
  static bool CanWrite(const host::TPropInfo& p, TAccess access);
  static host::EInvalidOperation NotReadable(const host::TPropInfo& p, TAccess access);
  // The first object's declaration when it can be read that way; EInvalidOperation otherwise.
  const host::TPropInfo& Readable(TAccess access) const;
  // Checks every object before any is changed, so that a failure leaves all as they were.
  void CheckWritable(TAccess access) const;

  IDesigner& FDesigner;
  std::vector<host::TPersistent*> FInstances;
  // Each object's own declaration of the property: objects of different classes publish the
  // same name with different accessors.
  std::vector<const host::TPropInfo*> FPropInfos;
};

// Creates an editor of class E: the body of a property editor factory.
template <class E>
std::unique_ptr<TPropertyEditor> MakePropertyEditor(IDesigner& designer,
                                                    std::vector<host::TPersistent*> instances,
                                                    const host::TPropInfo& propInfo) {
  return std::make_unique<E>(designer, std::move(instances), propInfo);
}

// Whether every object publishes a property of prop's name and kind, so that one editor can
// serve them all.
bool PublishedByAll(const std::vector<host::TPersistent*>& instances, const host::TPropInfo& prop);

}  // namespace ide
