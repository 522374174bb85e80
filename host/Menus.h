#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/Classes.h"
#include "host/Types.h"

namespace host {

class TMenu;

// One entry of a menu; "-" as caption makes a separator. Items are owned by the form like any
// component and hang in their menu (or parent item) for order.
class TMenuItem : public TComponent {
  HOST_PUBLISHED_CLASS
 public:
  explicit TMenuItem(TComponent* owner);
  ~TMenuItem() override;

  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& value) { FCaption = value; }
  bool Checked() const { return FChecked; }
  void SetChecked(bool value) { FChecked = value; }
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool value) { FEnabled = value; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool value) { FVisible = value; }
  bool IsSeparator() const { return FCaption == "-"; }

  int Count() const { return static_cast<int>(FItems.size()); }
  TMenuItem* Items(int index) const;
  void Add(TMenuItem* item);
  void Remove(TMenuItem* item);
  TMenuItem* Parent() const { return FParent; }

  // Fires OnClick.
  virtual void Click();
  TNotifyEvent OnClick;

  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* parent) override;
  void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) const override;

 private:
  friend class TMenu;
  std::string FCaption;
  bool FChecked = false;
  bool FEnabled = true;
  bool FVisible = true;
  TMenuItem* FParent = nullptr;
  TMenu* FMenu = nullptr;  // set on a menu's own top item
  std::vector<TMenuItem*> FItems;
};

// A menu: its entries are the items of Items.
class TMenu : public TComponent {
  HOST_PUBLISHED_CLASS
 public:
  explicit TMenu(TComponent* owner);
  ~TMenu() override;

  TMenuItem& Items() { return *FItems; }
  const TMenuItem& Items() const { return *FItems; }
  // The visible item whose caption, without its accelerator mark, is caption (ignoring case).
  TMenuItem* FindItem(const std::string& caption) const;

  void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) const override;

 private:
  std::unique_ptr<TMenuItem> FItems;
};

// A menu shown where the user clicks a control with the right button (the control's
// PopupMenu). The choice goes through the dialog service, so scripts answer it.
class TPopupMenu : public TMenu {
  HOST_PUBLISHED_CLASS
 public:
  explicit TPopupMenu(TComponent* owner) : TMenu(owner) {}

  // Shows the menu at a screen point; the chosen item's Click runs.
  void Popup(int x, int y);
  // The control the menu was last shown for.
  TComponent* PopupComponent() const { return FPopupComponent; }
  void SetPopupComponent(TComponent* component) { FPopupComponent = component; }

  TNotifyEvent OnPopup;

  void Notification(TComponent* component, TOperation operation) override;

 private:
  TComponent* FPopupComponent = nullptr;
};

void RegisterMenusClasses();

}  // namespace host
