#pragma once

#include <functional>
#include <string>
#include <vector>

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

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed };
const std::vector<std::string>& ListBoxStyleNames();

enum TOwnerDrawStateFlag { odSelected, odFocused };
using TOwnerDrawState = TSet<TOwnerDrawStateFlag>;
// Paints item index of a list inside rect, on the list's Canvas.
using TDrawItemEvent =
    std::function<void(TObject* sender, int index, const TRect& rect, TOwnerDrawState state)>;

// A list box. OnClick fires when the user chooses an item. With Style lbOwnerDrawFixed every
// item is ItemHeight pixels high and OnDrawItem paints it on Canvas.
class TListBox : public TCustomListBox {
  HOST_PUBLISHED_CLASS
 public:
  explicit TListBox(TComponent* owner);

  TListBoxStyle Style() const { return FStyle; }
  void SetStyle(TListBoxStyle value);
  int ItemHeight() const { return FItemHeight; }
  // At least one pixel.
  void SetItemHeight(int value);
  TCanvas& Canvas() { return FCanvas; }

  // Paints item index inside rect on the surface: OnDrawItem, on Canvas bound to the surface;
  // without one, the item's text on the list's ground, inverted when selected. The toolkit
  // calls it for every item it shows of an owner-drawn list.
  void DrawItem(TCanvasSurface& surface, int index, const TRect& rect, TOwnerDrawState state);

  TDrawItemEvent OnDrawItem;

 protected:
  void PeerCreated() override;

 private:
  void PushStyle();

  TListBoxStyle FStyle = lbStandard;
  int FItemHeight = 16;
  TCanvas FCanvas;
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
