#include "ide/PropertyEditor.h"

#include "host/Strings.h"
#include "host/SysUtils.h"

namespace ide {

using host::EInvalidOperation;
using host::TPersistent;
using host::TPropInfo;

TPropertyEditor::TPropertyEditor(IDesigner& designer, std::vector<TPersistent*> instances,
                                 const TPropInfo& propInfo)
    : FDesigner(designer), FInstances(std::move(instances)) {
  if (FInstances.empty() || !PublishedByAll(FInstances, propInfo))
    throw EInvalidOperation("Property " + propInfo.Name +
                            " is not published by every object to edit");
  // The accessors of a declaration cast to the declaring class, so each object gets its own.
  for (TPersistent* instance : FInstances)
    FPropInfos.push_back(instance->ClassInfo().FindProperty(propInfo.Name));
}

bool PublishedByAll(const std::vector<TPersistent*>& instances, const TPropInfo& prop) {
  for (TPersistent* instance : instances) {
    const TPropInfo* own = instance ? instance->ClassInfo().FindProperty(prop.Name) : nullptr;
    if (!own || own->Kind != prop.Kind) return false;
  }
  return true;
}

TPropertyAttributes TPropertyEditor::GetAttributes() const {
  return WithReadOnly({paMultiSelect, paRevertable});
}

void TPropertyEditor::Edit() {
  TPropertyAttributes attributes = GetAttributes();
  if (!attributes.Contains(paValueList) || attributes.Contains(paReadOnly)) return;
  std::vector<std::string> values;
  GetValues([&](const std::string& v) { values.push_back(v); });
  if (values.empty()) return;
  std::string current = GetValue();
  size_t next = 0;
  for (size_t i = 0; i < values.size(); ++i)
    if (host::SameText(values[i], current)) next = (i + 1) % values.size();
  SetValue(values[next]);
}

std::string TPropertyEditor::GetName() const {
  return GetPropInfo().Name;
}

std::string TPropertyEditor::GetValue() const {
  return "(unknown)";
}

void TPropertyEditor::SetValue(const std::string& value) {
  throw EInvalidOperation("Property " + GetName() + " cannot be set as text");
}

void TPropertyEditor::GetValues(const TGetStrProc& proc) const {}

void TPropertyEditor::GetProperties(const TGetPropEditProc& proc) const {}

TPersistent* TPropertyEditor::GetComponent(int index) const {
  if (index < 0 || index >= PropCount())
    throw host::EListError("List index out of bounds (" + host::IntToStr(index) + ")");
  return FInstances[static_cast<size_t>(index)];
}

void TPropertyEditor::Modified() {
  // "Change Caption of Label1"; edits of one property of the same objects, one after another,
  // are one step to take back.
  std::string name = "Change " + GetName();
  std::string key = "property " + GetName();
  auto* component = dynamic_cast<host::TComponent*>(FInstances.front());
  if (PropCount() > 1)
    name += " of " + host::IntToStr(PropCount()) + " components";
  else if (component && !component->Name().empty())
    name += " of " + component->Name();
  for (const host::TPersistent* instance : FInstances)
    key += " " + host::IntToHex(reinterpret_cast<uintptr_t>(instance), 16);
  FDesigner.NameStep(name, key);
  FDesigner.Modified();
}

bool TPropertyEditor::CanRead(const TPropInfo& p, TAccess access) {
  switch (access) {
    case TAccess::Ordinal:
      return bool(p.GetOrd);
    case TAccess::Text:
      return bool(p.GetStr);
    case TAccess::Reference:
      return bool(p.GetComponent);
    default:
      return bool(p.GetObject);
  }
}

bool TPropertyEditor::CanWrite(const TPropInfo& p, TAccess access) {
  switch (access) {
    case TAccess::Ordinal:
      return bool(p.SetOrd);
    case TAccess::Text:
      return bool(p.SetStr);
    case TAccess::Reference:
      return bool(p.SetComponent);
    default:
      return bool(p.SetObject);
  }
}

EInvalidOperation TPropertyEditor::NotReadable(const TPropInfo& p, TAccess access) {
  const char* what = access == TAccess::Ordinal     ? "an ordinal"
                     : access == TAccess::Text      ? "a text"
                     : access == TAccess::Reference ? "a component reference"
                                                    : "an object";
  return EInvalidOperation("Property " + p.Name + " is not " + what + " property");
}

const TPropInfo& TPropertyEditor::Readable(TAccess access) const {
  const TPropInfo& p = *FPropInfos.front();
  if (!CanRead(p, access)) throw NotReadable(p, access);
  return p;
}

void TPropertyEditor::CheckWritable(TAccess access) const {
  for (const TPropInfo* p : FPropInfos) {
    if (!CanRead(*p, access)) throw NotReadable(*p, access);
    if (!CanWrite(*p, access)) throw EInvalidOperation("Property " + p->Name + " is read-only");
  }
}

int64_t TPropertyEditor::GetOrdValue() const {
  return Readable(TAccess::Ordinal).GetOrd(*FInstances.front());
}

void TPropertyEditor::SetOrdValue(int64_t value) {
  ChangeOrdValues([value](int64_t) { return value; });
}

void TPropertyEditor::ChangeOrdValues(const std::function<int64_t(int64_t current)>& change) {
  CheckWritable(TAccess::Ordinal);
  for (size_t i = 0; i < FInstances.size(); ++i)
    FPropInfos[i]->SetOrd(*FInstances[i], change(FPropInfos[i]->GetOrd(*FInstances[i])));
  Modified();
}

std::string TPropertyEditor::GetStrValue() const {
  return Readable(TAccess::Text).GetStr(*FInstances.front());
}

void TPropertyEditor::SetStrValue(const std::string& value) {
  CheckWritable(TAccess::Text);
  for (size_t i = 0; i < FInstances.size(); ++i) FPropInfos[i]->SetStr(*FInstances[i], value);
  Modified();
}

TPersistent* TPropertyEditor::GetObjectValue() const {
  return Readable(TAccess::Object).GetObject(*FInstances.front());
}

std::vector<TPersistent*> TPropertyEditor::GetObjectValues() const {
  std::vector<TPersistent*> objects;
  for (size_t i = 0; i < FInstances.size(); ++i) {
    TPersistent* object =
        FPropInfos[i]->GetObject ? FPropInfos[i]->GetObject(*FInstances[i]) : nullptr;
    if (!object) return {};
    objects.push_back(object);
  }
  return objects;
}

void TPropertyEditor::SetObjectValue(const TPersistent& value) {
  CheckWritable(TAccess::Object);
  // The setters cast to the type they take: a list setter takes the plain list the form reader
  // passes, a sub-object setter its declared class.
  for (const TPropInfo* p : FPropInfos) {
    bool fits = p->Kind == host::TPropKind::Strings
                    ? dynamic_cast<const host::TStringList*>(&value) != nullptr
                    : !p->ObjectClass || value.ClassInfo().InheritsFrom(*p->ObjectClass);
    if (!fits) throw host::EInvalidCast("Cannot assign a " + value.ClassName() + " to " + p->Name);
  }
  for (size_t i = 0; i < FInstances.size(); ++i) FPropInfos[i]->SetObject(*FInstances[i], value);
  Modified();
}

host::TComponent* TPropertyEditor::GetComponentValue() const {
  return Readable(TAccess::Reference).GetComponent(*FInstances.front());
}

void TPropertyEditor::SetComponentValue(host::TComponent* value) {
  CheckWritable(TAccess::Reference);
  for (size_t i = 0; i < FInstances.size(); ++i) FPropInfos[i]->SetComponent(*FInstances[i], value);
  Modified();
}

host::EConvertError TPropertyEditor::InvalidValue(const std::string& text) const {
  return host::EConvertError("'" + text + "' is not a valid value for " + GetName());
}

std::string TPropertyEditor::ClassNameValue() const {
  const host::TClassInfo* cls = GetPropInfo().ObjectClass;
  if (cls) return "(" + cls->Name() + ")";
  TPersistent* object = GetObjectValue();
  return object ? "(" + object->ClassName() + ")" : std::string();
}

TPropertyAttributes TPropertyEditor::WithReadOnly(TPropertyAttributes attributes) const {
  for (const TPropInfo* p : FPropInfos)
    if (p->IsReadOnly()) attributes.Include(paReadOnly);
  return attributes;
}

}  // namespace ide
