#include "ide/DefaultEditors.h"

#include "host/Forms.h"

#include <algorithm>

#include "host/Dialogs.h"
#include "host/Graphics.h"
#include "host/SysUtils.h"
#include "ide/ClassProperty.h"
#include "ide/PictureEditor.h"
#include "ide/StringsEditor.h"

namespace ide {

using host::SameText;

namespace {

const std::string TrueText = "True";
const std::string FalseText = "False";

// The index of name in names, ignoring case; -1 when it is none of them.
int IndexOfName(const std::vector<std::string>& names, std::string_view name) {
  for (size_t i = 0; i < names.size(); ++i)
    if (SameText(names[i], name)) return static_cast<int>(i);
  return -1;
}

const std::vector<std::string>& NamesOf(const host::TPropInfo& prop) {
  static const std::vector<std::string> none;
  return prop.Names ? *prop.Names : none;
}

// Sets reach at most 32 members: they are stored as a 32-bit mask.
size_t SetSize(const host::TPropInfo& prop) {
  return std::min<size_t>(NamesOf(prop).size(), 32);
}

}  // namespace

// ---- integers

std::string TIntegerProperty::GetValue() const {
  return host::IntToStr(GetOrdValue());
}

void TIntegerProperty::SetValue(const std::string& value) {
  int number;
  if (!host::TryStrToInt(value, number)) throw InvalidValue(value);
  SetOrdValue(number);
}

// ---- enumerations and booleans

TPropertyAttributes TEnumProperty::GetAttributes() const {
  return WithReadOnly({paMultiSelect, paValueList, paSortList, paRevertable});
}

const std::vector<std::string>& TEnumProperty::Names() const {
  return NamesOf(GetPropInfo());
}

std::string TEnumProperty::GetValue() const {
  int64_t value = GetOrdValue();
  const std::vector<std::string>& names = Names();
  if (value >= 0 && value < static_cast<int64_t>(names.size()))
    return names[static_cast<size_t>(value)];
  return host::IntToStr(value);
}

void TEnumProperty::SetValue(const std::string& value) {
  int index = IndexOfName(Names(), host::Trim(value));
  if (index < 0) throw InvalidValue(value);
  SetOrdValue(index);
}

void TEnumProperty::GetValues(const TGetStrProc& proc) const {
  for (const std::string& name : Names()) proc(name);
}

const std::vector<std::string>& TBoolProperty::Names() const {
  static const std::vector<std::string> names = {FalseText, TrueText};
  return names;
}

// ---- sets

TPropertyAttributes TSetProperty::GetAttributes() const {
  return WithReadOnly({paMultiSelect, paSubProperties, paRevertable});
}

std::string TSetProperty::GetValue() const {
  auto mask = static_cast<uint64_t>(GetOrdValue());
  const std::vector<std::string>& names = NamesOf(GetPropInfo());
  std::string text;
  for (size_t i = 0; i < SetSize(GetPropInfo()); ++i) {
    if (!(mask & (uint64_t{1} << i))) continue;
    if (!text.empty()) text += ',';
    text += names[i];
  }
  return "[" + text + "]";
}

// Members are separated by commas, blanks around them are allowed, the brackets may be left out.
void TSetProperty::SetValue(const std::string& value) {
  std::string text = host::Trim(value);
  bool open = !text.empty() && text.front() == '[';
  bool close = !text.empty() && text.back() == ']';
  if (open != close || (open && text.size() < 2)) throw InvalidValue(value);
  if (open) text = host::Trim(text.substr(1, text.size() - 2));
  std::vector<std::string> names = NamesOf(GetPropInfo());
  names.resize(SetSize(GetPropInfo()));
  int64_t mask = 0;
  size_t pos = 0;
  while (!text.empty()) {
    size_t comma = text.find(',', pos);
    int index = IndexOfName(names, host::Trim(text.substr(pos, comma - pos)));
    if (index < 0) throw InvalidValue(value);
    mask |= int64_t{1} << index;
    if (comma == std::string::npos) break;
    pos = comma + 1;
  }
  SetOrdValue(mask);
}

void TSetProperty::GetProperties(const TGetPropEditProc& proc) const {
  std::vector<host::TPersistent*> instances;
  for (int i = 0; i < PropCount(); ++i) instances.push_back(GetComponent(i));
  for (size_t i = 0; i < SetSize(GetPropInfo()); ++i)
    proc(std::make_unique<TSetElementProperty>(Designer(), instances, GetPropInfo(),
                                               static_cast<int>(i)));
}

TSetElementProperty::TSetElementProperty(IDesigner& designer,
                                         std::vector<host::TPersistent*> instances,
                                         const host::TPropInfo& propInfo, int element)
    : TPropertyEditor(designer, std::move(instances), propInfo), FElement(element) {
  if (element < 0 || static_cast<size_t>(element) >= SetSize(propInfo))
    throw host::EListError("Set " + propInfo.Name + " has no member " + host::IntToStr(element));
}

TPropertyAttributes TSetElementProperty::GetAttributes() const {
  return WithReadOnly({paMultiSelect, paValueList, paSortList});
}

std::string TSetElementProperty::GetName() const {
  return NamesOf(GetPropInfo())[static_cast<size_t>(FElement)];
}

std::string TSetElementProperty::GetValue() const {
  return (GetOrdValue() >> FElement) & 1 ? TrueText : FalseText;
}

void TSetElementProperty::SetValue(const std::string& value) {
  std::string text = host::Trim(value);
  if (!SameText(text, TrueText) && !SameText(text, FalseText)) throw InvalidValue(value);
  int64_t bit = int64_t{1} << FElement;
  bool member = SameText(text, TrueText);
  ChangeOrdValues([=](int64_t current) { return member ? current | bit : current & ~bit; });
}

void TSetElementProperty::GetValues(const TGetStrProc& proc) const {
  proc(FalseText);
  proc(TrueText);
}

// ---- colours

TPropertyAttributes TColorProperty::GetAttributes() const {
  return WithReadOnly({paMultiSelect, paValueList, paDialog, paRevertable});
}

std::string TColorProperty::GetValue() const {
  return host::ColorToString(static_cast<host::TColor>(GetOrdValue()));
}

void TColorProperty::SetValue(const std::string& value) {
  host::TColor color;
  try {
    color = host::StringToColor(host::Trim(value));
  } catch (const host::EConvertError&) {
    throw InvalidValue(value);
  }
  SetOrdValue(color);
}

void TColorProperty::GetValues(const TGetStrProc& proc) const {
  for (const host::TColorName& name : host::ColorNames()) proc(name.Name);
}

void TColorProperty::Edit() {
  if (GetAttributes().Contains(paReadOnly)) return;
  host::TColorDialog dialog(nullptr);
  dialog.SetColor(static_cast<host::TColor>(GetOrdValue()));
  if (dialog.Execute()) SetOrdValue(dialog.Color());
}

// ---- fonts

TPropertyAttributes TFontProperty::GetAttributes() const {
  return {paMultiSelect, paSubProperties, paDialog, paReadOnly};
}

void TFontProperty::Edit() {
  host::TFontDialog dialog(nullptr);
  if (auto* font = dynamic_cast<host::TFont*>(GetObjectValue())) dialog.SetFont(*font);
  if (dialog.Execute()) SetObjectValue(dialog.Font());
}

// ---- text, lists and data

std::string TStringProperty::GetValue() const {
  return GetStrValue();
}

void TStringProperty::SetValue(const std::string& value) {
  SetStrValue(value);
}

TPropertyAttributes TStringListProperty::GetAttributes() const {
  return {paDialog, paReadOnly};
}

void TStringListProperty::Edit() {
  auto* lines = dynamic_cast<host::TStrings*>(GetObjectValue());
  if (!lines) return;
  auto dialog = std::make_unique<TStringsEditDlg>(host::Application);
  dialog->Memo->Lines().Assign(*lines);
  if (dialog->ShowModal() != host::mrOk || dialog->Memo->Lines().Text() == lines->Text()) return;
  SetObjectValue(dialog->Memo->Lines());
}

std::string TStringListProperty::GetValue() const {
  return ClassNameValue();
}

TPropertyAttributes TBinaryProperty::GetAttributes() const {
  return {paReadOnly};
}

std::string TBinaryProperty::GetValue() const {
  return "(Binary)";
}

// ---- component references

TPropertyAttributes TComponentProperty::GetAttributes() const {
  return WithReadOnly({paMultiSelect, paValueList, paSortList});
}

std::string TComponentProperty::GetValue() const {
  host::TComponent* value = GetComponentValue();
  return value ? value->Name() : std::string();
}

host::TComponent* TComponentProperty::Root() const {
  if (host::TForm* root = const_cast<TComponentProperty*>(this)->Designer().GetRoot()) return root;
  auto* component = dynamic_cast<host::TComponent*>(GetComponent(0));
  return component && component->Owner() ? component->Owner() : component;
}

void TComponentProperty::SetValue(const std::string& value) {
  std::string name = host::Trim(value);
  if (name.empty()) {
    SetComponentValue(nullptr);
    return;
  }
  host::TComponent* root = Root();
  host::TComponent* found = nullptr;
  if (root) found = host::SameText(root->Name(), name) ? root : root->FindComponent(name);
  const host::TClassInfo* wanted = GetPropInfo().ObjectClass;
  if (!found || (wanted && !found->ClassInfo().InheritsFrom(*wanted))) throw InvalidValue(value);
  SetComponentValue(found);
}

void TComponentProperty::GetValues(const TGetStrProc& proc) const {
  host::TComponent* root = Root();
  if (!root) return;
  const host::TClassInfo* wanted = GetPropInfo().ObjectClass;
  for (host::TComponent* c : root->ComponentList())
    if (!c->Name().empty() && (!wanted || c->ClassInfo().InheritsFrom(*wanted))) proc(c->Name());
}

namespace {

using TMakeEditor = std::unique_ptr<TPropertyEditor> (*)(IDesigner&,
                                                         std::vector<host::TPersistent*>,
                                                         const host::TPropInfo&);

TMakeEditor DefaultFactory(host::TPropKind kind) {
  switch (kind) {
    case host::TPropKind::Integer:
      return MakePropertyEditor<TIntegerProperty>;
    case host::TPropKind::Boolean:
      return MakePropertyEditor<TBoolProperty>;
    case host::TPropKind::Enumeration:
      return MakePropertyEditor<TEnumProperty>;
    case host::TPropKind::Set:
      return MakePropertyEditor<TSetProperty>;
    case host::TPropKind::Color:
      return MakePropertyEditor<TColorProperty>;
    case host::TPropKind::String:
      return MakePropertyEditor<TStringProperty>;
    case host::TPropKind::Strings:
      return MakePropertyEditor<TStringListProperty>;
    case host::TPropKind::Binary:
      return MakePropertyEditor<TBinaryProperty>;
    case host::TPropKind::Component:
      return MakePropertyEditor<TComponentProperty>;
    case host::TPropKind::Class:
      break;
  }
  return MakePropertyEditor<TClassProperty>;
}

}  // namespace

std::unique_ptr<TPropertyEditor> CreateDefaultPropertyEditor(
    IDesigner& designer, std::vector<host::TPersistent*> instances,
    const host::TPropInfo& propInfo) {
  if (propInfo.Kind == host::TPropKind::Class && propInfo.ObjectClass &&
      propInfo.ObjectClass->InheritsFrom(host::TFont::StaticClassInfo()))
    return std::make_unique<TFontProperty>(designer, std::move(instances), propInfo);
  if (propInfo.Kind == host::TPropKind::Class && propInfo.ObjectClass &&
      propInfo.ObjectClass->InheritsFrom(host::TPicture::StaticClassInfo()))
    return std::make_unique<TPictureProperty>(designer, std::move(instances), propInfo);
  return DefaultFactory(propInfo.Kind)(designer, std::move(instances), propInfo);
}

}  // namespace ide
