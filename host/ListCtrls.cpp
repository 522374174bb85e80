#include "host/ListCtrls.h"

#include <algorithm>

namespace host {

// ---- TCustomListBox

const TClassInfo& TCustomListBox::StaticClassInfo() {
  static TClassInfo info = [] {
    TClassInfo i("TCustomListBox", &TWinControl::StaticClassInfo());
    TPublisher<TCustomListBox>(i)
        .Enumeration("Align", AlignNames(), &TCustomListBox::Align, &TCustomListBox::SetAlign,
                     alNone)
        .Color("Color", &TCustomListBox::Color, &TCustomListBox::SetColor, clWindow)
        .SubObject<TFont>(
            "Font", [](TCustomListBox& l) -> TFont& { return l.Font(); }, &TCustomListBox::SetFont)
        .Strings<TStrings>(
            "Items", [](TCustomListBox& l) -> TStringList& { return l.Items(); },
            &TCustomListBox::SetItems)
        .Boolean("Sorted", &TCustomListBox::Sorted, &TCustomListBox::SetSorted, false)
        .Integer("TabOrder", &TCustomListBox::TabOrder, &TCustomListBox::SetTabOrder)
        .Boolean("TabStop", &TCustomListBox::TabStop, &TCustomListBox::SetTabStop, true);
    return i;
  }();
  return info;
}

TCustomListBox::TCustomListBox(TComponent* owner, TWidgetKind kind) : TWidgetControl(owner, kind) {
  FItems.OnChange = [this](TObject*) { ItemsChanged(); };
}

void TCustomListBox::SetItemIndex(int value) {
  if (value < 0 || value >= FItems.Count()) value = -1;
  FItemIndex = value;
  if (auto* peer = WidgetPeer<IListPeer>()) peer->SetItemIndex(value);
}

void TCustomListBox::SetSorted(bool value) {
  if (value == FSorted) return;
  FSorted = value;
  if (value) ItemsChanged();
}

void TCustomListBox::SortItems() {
  std::vector<std::pair<std::string, TObject*>> items;
  for (int i = 0; i < FItems.Count(); ++i) items.emplace_back(FItems.Get(i), FItems.Objects(i));
  std::stable_sort(items.begin(), items.end(),
                   [](const auto& a, const auto& b) { return CompareText(a.first, b.first) < 0; });
  // The rewrite is the sort's own: its change notice must not sort again.
  struct TSortingScope {
    bool& Flag;
    TStringList& Items;
    ~TSortingScope() {
      Items.EndUpdate();
      Flag = false;
    }
  };
  FSorting = true;
  FItems.BeginUpdate();
  TSortingScope scope{FSorting, FItems};
  FItems.Clear();
  for (const auto& [text, object] : items) FItems.AddObject(text, object);
}

void TCustomListBox::ItemsChanged() {
  if (FSorting) return;
  if (FSorted) {
    SortItems();
  }
  if (auto* peer = WidgetPeer<IListPeer>()) peer->SetItems(FItems.Items());
  SetItemIndex(FItemIndex);
}

void TCustomListBox::PeerCreated() {
  TWidgetControl::PeerCreated();
  auto* peer = WidgetPeer<IListPeer>();
  peer->SetItems(FItems.Items());
  peer->SetItemIndex(FItemIndex);
}

void TCustomListBox::WidgetChanged(const TWidgetChange& change) {
  if (change.Kind == TWidgetChange::wcItemIndex) {
    const int index = change.Index >= 0 && change.Index < FItems.Count() ? change.Index : -1;
    if (index == FItemIndex) return;
    // The widget shows the choice already: handing it back while the widget is still at work
    // on the user's click would undo what the click is about to select.
    FItemIndex = index;
    Click();
  } else if (change.Kind == TWidgetChange::wcDblClick) {
    DblClick();
  }
}

const std::vector<std::string>& ListBoxStyleNames() {
  static const std::vector<std::string> names = {"lbStandard", "lbOwnerDrawFixed"};
  return names;
}

const TClassInfo& TListBox::StaticClassInfo() {
  static TClassInfo info = [] {
    TClassInfo i("TListBox", &TCustomListBox::StaticClassInfo());
    TPublisher<TListBox>(i)
        .Integer("ItemHeight", &TListBox::ItemHeight, &TListBox::SetItemHeight, 16)
        .Enumeration("Style", ListBoxStyleNames(), &TListBox::Style, &TListBox::SetStyle,
                     lbStandard);
    return i;
  }();
  return info;
}

TListBox::TListBox(TComponent* owner) : TCustomListBox(owner, TWidgetKind::ListBox) {
  SetBounds(0, 0, 121, 97);
}

void TListBox::SetStyle(TListBoxStyle value) {
  if (value == FStyle) return;
  FStyle = value;
  PushStyle();
}

void TListBox::SetItemHeight(int value) {
  value = std::max(value, 1);
  if (value == FItemHeight) return;
  FItemHeight = value;
  PushStyle();
}

void TListBox::PeerCreated() {
  TCustomListBox::PeerCreated();
  PushStyle();
}

void TListBox::PushStyle() {
  if (auto* peer = WidgetPeer<IListPeer>())
    peer->SetOwnerDraw(FStyle == lbOwnerDrawFixed ? FItemHeight : 0);
}

void TListBox::DrawItem(TCanvasSurface& surface, int index, const TRect& rect,
                        TOwnerDrawState state) {
  TCanvas::TSurfaceScope bound(FCanvas, surface);
  FCanvas.SetFont(Font());
  const bool selected = state.Contains(odSelected);
  FCanvas.Brush().SetStyle(bsSolid);
  FCanvas.Brush().SetColor(selected ? clHighlight : Color());
  if (selected) FCanvas.Font().SetColor(clHighlightText);
  if (OnDrawItem) {
    OnDrawItem(this, index, rect, state);
    return;
  }
  FCanvas.FillRect(rect);
  FCanvas.Brush().SetStyle(bsClear);
  if (index >= 0 && index < Items().Count())
    FCanvas.TextOut(rect.Left + 2, rect.Top + 1, Items().Get(index));
}

// ---- TComboBox

const std::vector<std::string>& ComboBoxStyleNames() {
  static const std::vector<std::string> names = {"csDropDown", "csSimple", "csDropDownList",
                                                 "csOwnerDrawFixed", "csOwnerDrawVariable"};
  return names;
}

const TClassInfo& TComboBox::StaticClassInfo() {
  static TClassInfo info = [] {
    TClassInfo i("TComboBox", &TCustomListBox::StaticClassInfo());
    TPublisher<TComboBox>(i)
        .Enumeration("Style", ComboBoxStyleNames(), &TComboBox::Style, &TComboBox::SetStyle,
                     csDropDown)
        .String("Text", &TComboBox::Text, &TComboBox::SetText);
    return i;
  }();
  return info;
}

static TWidgetKind ComboKind(TComboBoxStyle style) {
  return style == csDropDownList || style == csOwnerDrawFixed || style == csOwnerDrawVariable
             ? TWidgetKind::ComboBoxList
             : TWidgetKind::ComboBox;
}

TComboBox::TComboBox(TComponent* owner) : TCustomListBox(owner, TWidgetKind::ComboBox) {
  SetBounds(0, 0, 145, 21);
}

void TComboBox::SetStyle(TComboBoxStyle value) {
  FStyle = value;
  RecreateWidget(ComboKind(value));
}

void TComboBox::SetText(const std::string& value) {
  if (FStyle == csDropDownList) {
    // A list-only box shows items alone: the text chooses the item it names.
    int index = Items().IndexOf(value);
    SetItemIndex(index);
    SetCaption(index >= 0 ? Items().Get(index) : std::string());
    return;
  }
  SetCaption(value);
}

void TComboBox::ItemsChanged() {
  TCustomListBox::ItemsChanged();
  if (FStyle == csDropDownList && ItemIndex() < 0) SetCaption(std::string());
}

void TComboBox::WidgetChanged(const TWidgetChange& change) {
  switch (change.Kind) {
    case TWidgetChange::wcItemIndex:
      if (change.Index < 0 || change.Index >= Items().Count()) return;
      SetItemIndex(change.Index);
      SetCaption(Items().Get(change.Index));
      Click();
      if (OnChange) OnChange(this);
      break;
    case TWidgetChange::wcText:
      if (FStyle == csDropDownList) return;
      SetCaption(change.Text);
      SetItemIndex(Items().IndexOf(change.Text));
      if (OnChange) OnChange(this);
      break;
    default:
      break;
  }
}

void RegisterListCtrlsClasses() {
  TClassRegistry::Register<TListBox>();
  TClassRegistry::Register<TComboBox>();
}

}  // namespace host
