#include "host/TabCtrls.h"

#include "host/Forms.h"

namespace host {

// ---- TTabSet

const TClassInfo& TTabSet::StaticClassInfo() {
  static TClassInfo info = [] {
    TClassInfo i("TTabSet", &TWinControl::StaticClassInfo());
    TPublisher<TTabSet>(i)
        .Enumeration("Align", AlignNames(), &TTabSet::Align, &TTabSet::SetAlign, alNone)
        .SubObject<TFont>(
            "Font", [](TTabSet& t) -> TFont& { return t.Font(); }, &TTabSet::SetFont)
        .Integer("TabIndex", &TTabSet::TabIndex, &TTabSet::SetTabIndex, -1)
        .Integer("TabOrder", &TTabSet::TabOrder, &TTabSet::SetTabOrder)
        .Strings<TStrings>(
            "Tabs", [](TTabSet& t) -> TStringList& { return t.Tabs(); }, &TTabSet::SetTabs);
    return i;
  }();
  return info;
}

TTabSet::TTabSet(TComponent* owner) : TWidgetControl(owner, TWidgetKind::TabSet) {
  SetBounds(0, 0, 185, 21);
  SetColor(clBtnFace);
  SetTabStop(false);
  FTabs.OnChange = [this](TObject*) { TabsChanged(); };
}

void TTabSet::TabsChanged() {
  if (FTabIndex >= FTabs.Count()) FTabIndex = FTabs.Count() - 1;
  if (auto* peer = WidgetPeer<IListPeer>()) {
    peer->SetItems(FTabs.Items());
    peer->SetItemIndex(FTabIndex);
  }
}

void TTabSet::SetTabIndex(int value) {
  if (value == FTabIndex) return;
  // A stored index may come before the tabs it counts; Loaded checks it.
  if (!IsLoading() && (value < -1 || value >= FTabs.Count()))
    throw EListError("Tab index out of bounds (" + IntToStr(value) + ")");
  if (!IsLoading()) {
    bool allow = true;
    if (OnChange) OnChange(this, value, allow);
    if (!allow) {
      if (auto* peer = WidgetPeer<IListPeer>()) peer->SetItemIndex(FTabIndex);
      return;
    }
  }
  FTabIndex = value;
  if (auto* peer = WidgetPeer<IListPeer>()) peer->SetItemIndex(value);
  if (!IsLoading()) Click();
}

void TTabSet::Loaded() {
  TWidgetControl::Loaded();
  if (FTabIndex >= FTabs.Count()) FTabIndex = FTabs.Count() - 1;
}

void TTabSet::PeerCreated() {
  TWidgetControl::PeerCreated();
  auto* peer = WidgetPeer<IListPeer>();
  peer->SetItems(FTabs.Items());
  peer->SetItemIndex(FTabIndex);
}

void TTabSet::WidgetChanged(const TWidgetChange& change) {
  if (change.Kind == TWidgetChange::wcItemIndex && change.Index >= 0 &&
      change.Index < FTabs.Count())
    SetTabIndex(change.Index);
}

// ---- TPage

const TClassInfo& TPage::StaticClassInfo() {
  static TClassInfo info = [] {
    TClassInfo i("TPage", &TCustomControl::StaticClassInfo());
    // The notebook shows and hides its pages; what a page stores is its name.
    TPublisher<TPage>(i)
        .Boolean("Visible", &TPage::Visible, &TPage::SetVisible)
        .NotStored()
        .String("Caption", &TPage::Caption, &TPage::SetCaption);
    return i;
  }();
  return info;
}

TPage::TPage(TComponent* owner) : TCustomControl(owner) {
  SetControlStyle(TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents});
  SetAlign(alClient);
  SetVisible(false);
}

// ---- TNotebook

const TClassInfo& TNotebook::StaticClassInfo() {
  static TClassInfo info = [] {
    TClassInfo i("TNotebook", &TCustomControl::StaticClassInfo());
    TPublisher<TNotebook>(i)
        .Enumeration("Align", AlignNames(), &TNotebook::Align, &TNotebook::SetAlign, alNone)
        .Color("Color", &TNotebook::Color, &TNotebook::SetColor, clBtnFace)
        .SubObject<TFont>(
            "Font", [](TNotebook& n) -> TFont& { return n.Font(); }, &TNotebook::SetFont)
        .Integer("PageIndex", &TNotebook::PageIndex, &TNotebook::SetPageIndex, -1)
        .Integer("TabOrder", &TNotebook::TabOrder, &TNotebook::SetTabOrder);
    return i;
  }();
  return info;
}

TNotebook::TNotebook(TComponent* owner) : TCustomControl(owner) {
  SetBounds(0, 0, 150, 150);
  SetControlStyle(TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents});
}

int TNotebook::PageCount() const {
  int count = 0;
  for (int i = 0; i < ControlCount(); ++i)
    if (dynamic_cast<TPage*>(Controls(i))) ++count;
  return count;
}

TPage* TNotebook::Pages(int index) const {
  int n = 0;
  for (int i = 0; i < ControlCount(); ++i)
    if (auto* page = dynamic_cast<TPage*>(Controls(i)); page && n++ == index) return page;
  throw EListError("Page index out of bounds (" + IntToStr(index) + ")");
}

std::vector<std::string> TNotebook::PageNames() const {
  std::vector<std::string> names;
  for (int i = 0; i < ControlCount(); ++i)
    if (auto* page = dynamic_cast<TPage*>(Controls(i))) names.push_back(page->Caption());
  return names;
}

TPage* TNotebook::AddPage(const std::string& caption) {
  auto* page = new TPage(Owner() ? Owner() : this);
  page->SetCaption(caption);
  page->SetParent(this);
  if (FPageIndex < 0) SetPageIndex(0);
  return page;
}

void TNotebook::SetPageIndex(int value) {
  if (IsLoading()) {
    FPageIndex = value;
    return;
  }
  if (value < 0 || value >= PageCount())
    throw EListError("Page index out of bounds (" + IntToStr(value) + ")");
  if (value == FPageIndex) return;
  // The keyboard on a control of the page that goes moves to the page shown: left behind, it
  // would fall to whatever comes next in Tab order (a dialog's Cancel button, for Enter).
  TForm* form = GetParentForm(this);
  TWinControl* focused = form ? form->ActiveControl() : nullptr;
  bool leaving = false;
  if (FPageIndex >= 0 && FPageIndex < PageCount())
    for (TWinControl* c = focused; c && !leaving; c = c->Parent()) leaving = c == Pages(FPageIndex);
  FPageIndex = value;
  ShowPage();
  if (leaving) form->SelectNext(Pages(value), true, true);
  if (OnPageChanged) OnPageChanged(this);
}

std::string TNotebook::ActivePage() const {
  return FPageIndex >= 0 && FPageIndex < PageCount() ? Pages(FPageIndex)->Caption() : "";
}

void TNotebook::SetActivePage(const std::string& caption) {
  std::vector<std::string> names = PageNames();
  for (size_t i = 0; i < names.size(); ++i)
    if (SameText(names[i], caption)) {
      SetPageIndex(static_cast<int>(i));
      return;
    }
  throw EListError("The notebook has no page " + caption);
}

void TNotebook::ShowPage() {
  int n = 0;
  for (int i = 0; i < ControlCount(); ++i)
    if (auto* page = dynamic_cast<TPage*>(Controls(i))) page->SetVisible(n++ == FPageIndex);
}

void TNotebook::Loaded() {
  TCustomControl::Loaded();
  if (FPageIndex >= PageCount()) FPageIndex = PageCount() - 1;
  if (FPageIndex < 0 && PageCount() > 0) FPageIndex = 0;
  ShowPage();
}

void RegisterTabCtrlsClasses() {
  TClassRegistry::Register<TTabSet>();
  TClassRegistry::Register<TPage>();
  TClassRegistry::Register<TNotebook>();
}

}  // namespace host
