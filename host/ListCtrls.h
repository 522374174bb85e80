#pragma once

#include <string>

#include "host/Controls.h"
#include "host/Strings.h"

namespace host {

// A list of items to choose from, with the choice in ItemIndex (-1 for none).
class TCustomListBox : public TWidgetControl {
  HOST_PUBLISHED_CLASS
 public:
  TStringList& Items() { return FItems; }
  const TStringList& Items() const { return FItems; }
  void SetItems(const TStrings& value) { FItems.Assign(value); }
  int ItemIndex() const { return FItemIndex; }
  // An index outside the items selects none.
  void SetItemIndex(int value);
  // Keeps the items in alphabetical order, ignoring case.
  bool Sorted() const { return FSorted; }
  void SetSorted(bool value);
  void Clear() { FItems.Clear(); }

  void WidgetChanged(const TWidgetChange& change) override;

 protected:
  TCustomListBox(TComponent* owner, TWidgetKind kind);
  void PeerCreated() override;
  // After the items changed: sorted again, shown again, the choice kept while it still exists.
  virtual void ItemsChanged();
  void SortItems();

 private:
  TStringList FItems;
  int FItemIndex = -1;
  bool FSorted = false;
  bool FSorting = false;
};

// A list box. OnClick fires when the user chooses an item.
class TListBox : public TCustomListBox {
  HOST_PUBLISHED_CLASS
 public:
  explicit TListBox(TComponent* owner);
};

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };
const std::vector<std::string>& ComboBoxStyleNames();

// An edit field with a drop-down list (csDropDown), or the drop-down list alone
// (csDropDownList). Choosing an item fires OnClick, then OnChange; typing fires OnChange.
class TComboBox : public TCustomListBox {
  HOST_PUBLISHED_CLASS
 public:
  explicit TComboBox(TComponent* owner);

  TComboBoxStyle Style() const { return FStyle; }
  void SetStyle(TComboBoxStyle value);
  const std::string& Text() const { return Caption(); }
  void SetText(const std::string& value);

  bool WantsChars() const override { return FStyle != csDropDownList; }
  void WidgetChanged(const TWidgetChange& change) override;

  TNotifyEvent OnChange;

 protected:
  void ItemsChanged() override;

 private:
  TComboBoxStyle FStyle = csDropDown;
};

void RegisterListCtrlsClasses();

}  // namespace host
