#include "host/Classes.h"

#include <algorithm>

namespace host {

const TClassInfo& TPersistent::StaticClassInfo() {
  static TClassInfo info("TPersistent", nullptr);
  return info;
}

void TPersistent::Assign(const TPersistent& source) {
  source.AssignTo(*this);
}

void TPersistent::AssignTo(TPersistent& dest) const {
  throw EConvertError("Cannot assign a " + ClassName() + " to a " + dest.ClassName());
}

const TClassInfo& TComponent::StaticClassInfo() {
  static TClassInfo info = [] {
    TClassInfo i("TComponent", &TPersistent::StaticClassInfo());
    // Name is written on the object line itself, so it is shown but never stored as a property.
    TPublisher<TComponent>(i)
        .String("Name", &TComponent::Name, &TComponent::SetName)
        .NotStored()
        .Integer("Tag", &TComponent::Tag, &TComponent::SetTag, 0)
        .Integer("Left", &TComponent::DesignLeft, &TComponent::SetDesignLeft, 0)
        .Range(-MaxScreenExtent - 1, MaxScreenExtent, ScreenExtentLimit)
        .Integer("Top", &TComponent::DesignTop, &TComponent::SetDesignTop, 0)
        .Range(-MaxScreenExtent - 1, MaxScreenExtent, ScreenExtentLimit);
    return i;
  }();
  return info;
}

TComponent::TComponent(TComponent* owner) {
  if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
  FComponentState.Include(csDestroying);
  while (!FComponents.empty()) {
    TComponent* last = FComponents.back();
    delete last;  // removes itself from FComponents
  }
  if (FOwner) FOwner->RemoveComponent(this);
}

TComponent* TComponent::Components(int index) const {
  if (index < 0 || index >= ComponentCount())
    throw EListError("List index out of bounds (" + IntToStr(index) + ")");
  return FComponents[static_cast<size_t>(index)];
}

int TComponent::ComponentIndex() const {
  if (!FOwner) return -1;
  auto& list = FOwner->FComponents;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  for (TComponent* c : FComponents)
    if (SameText(c->FName, name)) return c;
  return nullptr;
}

bool TComponent::IsValidIdent(std::string_view name) {
  if (name.empty()) return false;
  auto alpha = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; };
  if (!alpha(name[0])) return false;
  return std::all_of(name.begin() + 1, name.end(),
                     [&](char c) { return alpha(c) || (c >= '0' && c <= '9'); });
}

void TComponent::SetName(const std::string& name) {
  if (name == FName) return;
  if (!name.empty() && !IsValidIdent(name))
    throw EComponentError("'" + name + "' is not a valid component name");
  if (FOwner)
    FOwner->ValidateRename(this, FName, name);
  else
    ValidateRename(nullptr, FName, name);
  FName = name;
}

void TComponent::ValidateRename(TComponent* component, const std::string&,
                                const std::string& newName) {
  if (!component || newName.empty()) return;
  TComponent* other = FindComponent(newName);
  if (other && other != component)
    throw EComponentError("A component named " + newName + " already exists");
}

void TComponent::SetDesigning(bool value) {
  if (value)
    FComponentState.Include(csDesigning);
  else
    FComponentState.Exclude(csDesigning);
  for (TComponent* c : FComponents) c->SetDesigning(value);
}

void TComponent::Loaded() {
  FComponentState.Exclude(csLoading);
}

void TComponent::InsertComponent(TComponent* component) {
  if (component->FOwner) component->FOwner->RemoveComponent(component);
  if (!component->FName.empty() && FindComponent(component->FName))
    throw EComponentError("A component named " + component->FName + " already exists");
  FComponents.push_back(component);
  component->FOwner = this;
  if (IsDesigning()) component->SetDesigning(true);
  Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
  auto it = std::find(FComponents.begin(), FComponents.end(), component);
  if (it == FComponents.end()) return;
  Notification(component, opRemove);
  FComponents.erase(it);
  component->FOwner = nullptr;
}

void TComponent::Notification(TComponent* component, TOperation operation) {
  for (TComponent* c : std::vector<TComponent*>(FComponents))
    if (c != component) c->Notification(component, operation);
}

void TComponent::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) const {
  if (this != root) return;
  for (TComponent* c : FComponents)
    if (!c->HasParent()) proc(c);
}

void RegisterCoreClasses() {
  TClassRegistry::Register<TComponent>();
}

}  // namespace host
