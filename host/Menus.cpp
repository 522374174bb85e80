#include "host/Menus.h"

#include <algorithm>

#include "host/Controls.h"
#include "host/Dialogs.h"

namespace host {

// ---- TMenuItem

const TClassInfo& TMenuItem::StaticClassInfo() {
  static TClassInfo info = [] {
    TClassInfo i("TMenuItem", &TComponent::StaticClassInfo());
    TPublisher<TMenuItem>(i)
        .String("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption)
        .Boolean("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked, false)
        .Boolean("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled, true)
        .Boolean("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible, true);
    return i;
  }();
  return info;
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}

TMenuItem::~TMenuItem() {
  for (TMenuItem* item : FItems) item->FParent = nullptr;
  if (FParent) FParent->Remove(this);
}

TMenuItem* TMenuItem::Items(int index) const {
  if (index < 0 || index >= Count())
    throw EListError("Menu index out of bounds (" + IntToStr(index) + ")");
  return FItems[static_cast<size_t>(index)];
}

void TMenuItem::Add(TMenuItem* item) {
  for (const TMenuItem* p = this; p; p = p->FParent)
    if (p == item) throw EInvalidOperation("A menu item cannot hold itself");
  if (item->FParent) item->FParent->Remove(item);
  FItems.push_back(item);
  item->FParent = this;
}

void TMenuItem::Remove(TMenuItem* item) {
  auto it = std::find(FItems.begin(), FItems.end(), item);
  if (it == FItems.end()) return;
  FItems.erase(it);
  item->FParent = nullptr;
}

void TMenuItem::Click() {
  if (OnClick) OnClick(this);
}

TComponent* TMenuItem::GetParentComponent() const {
  if (FParent && FParent->FMenu) return FParent->FMenu;
  return FParent;
}

void TMenuItem::SetParentComponent(TComponent* parent) {
  if (auto* menu = dynamic_cast<TMenu*>(parent))
    menu->Items().Add(this);
  else if (auto* item = dynamic_cast<TMenuItem*>(parent))
    item->Add(this);
}

void TMenuItem::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) const {
  for (TMenuItem* item : FItems)
    if (item->Owner() == root) proc(item);
}

// ---- TMenu

const TClassInfo& TMenu::StaticClassInfo() {
  static TClassInfo info("TMenu", &TComponent::StaticClassInfo());
  return info;
}

TMenu::TMenu(TComponent* owner) : TComponent(owner), FItems(std::make_unique<TMenuItem>(nullptr)) {
  FItems->FMenu = this;
}

TMenu::~TMenu() = default;

TMenuItem* TMenu::FindItem(const std::string& caption) const {
  for (int i = 0; i < FItems->Count(); ++i) {
    TMenuItem* item = FItems->Items(i);
    if (item->Visible() && !item->IsSeparator() &&
        SameText(StripAccelerator(item->Caption()), caption))
      return item;
  }
  return nullptr;
}

void TMenu::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) const {
  FItems->GetChildren(proc, root);
}

// ---- TPopupMenu

const TClassInfo& TPopupMenu::StaticClassInfo() {
  static TClassInfo info("TPopupMenu", &TMenu::StaticClassInfo());
  return info;
}

void TPopupMenu::Popup(int x, int y) {
  if (OnPopup) OnPopup(this);
  TPopupRequest request;
  request.MenuName = Name();
  request.At = {x, y};
  std::vector<TMenuItem*> shown;
  for (int i = 0; i < Items().Count(); ++i) {
    TMenuItem* item = Items().Items(i);
    if (!item->Visible()) continue;
    request.Entries.push_back(
        {item->Caption(), item->Enabled(), item->Checked(), item->IsSeparator()});
    shown.push_back(item);
  }
  int chosen = DialogService().PopupMenu(request);
  if (chosen < 0 || chosen >= static_cast<int>(shown.size())) return;
  TMenuItem* item = shown[static_cast<size_t>(chosen)];
  if (item->Enabled() && !item->IsSeparator()) item->Click();
}

void TPopupMenu::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && component == FPopupComponent) FPopupComponent = nullptr;
  TMenu::Notification(component, operation);
}

void RegisterMenusClasses() {
  TClassRegistry::Register<TMenuItem>();
  TClassRegistry::Register<TPopupMenu>();
}

}  // namespace host
