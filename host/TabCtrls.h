#pragma once

#include <functional>
#include <string>

#include "host/Controls.h"
#include "host/Strings.h"

namespace host {

using TTabChangeEvent = std::function<void(TObject* sender, int newTab, bool& allowChange)>;

// A row of tabs below a page, one per string of Tabs; TabIndex is the chosen one (-1 none).
// Choosing a tab, by the user or in code, asks OnChange (which may refuse), then fires OnClick.
class TTabSet : public TWidgetControl {
  HOST_PUBLISHED_CLASS
 public:
  explicit TTabSet(TComponent* owner);

  TStringList& Tabs() { return FTabs; }
  void SetTabs(const TStrings& value) { FTabs.Assign(value); }
  int TabIndex() const { return FTabIndex; }
  // Fails with EListError for an index outside the tabs.
  void SetTabIndex(int value);

  void Loaded() override;
  void WidgetChanged(const TWidgetChange& change) override;

  TTabChangeEvent OnChange;

 protected:
  void PeerCreated() override;

 private:
  void TabsChanged();

  TStringList FTabs;
  int FTabIndex = -1;
};

// One page of a notebook. Pages fill their notebook; only the active one shows.
class TPage : public TCustomControl {
  HOST_PUBLISHED_CLASS
 public:
  explicit TPage(TComponent* owner);
};

// A stack of pages (TPage children, in order) of which one shows: PageIndex, or the page whose
// Caption is ActivePage.
class TNotebook : public TCustomControl {
  HOST_PUBLISHED_CLASS
 public:
  explicit TNotebook(TComponent* owner);

  int PageCount() const;
  TPage* Pages(int index) const;
  // The pages' captions in order.
  std::vector<std::string> PageNames() const;
  // Adds an empty page at the end.
  TPage* AddPage(const std::string& caption);

  int PageIndex() const { return FPageIndex; }
  // Fails with EListError for an index outside the pages (while a form is read it waits for
  // the pages to arrive).
  void SetPageIndex(int value);
  std::string ActivePage() const;
  // Fails with EListError when no page has that caption.
  void SetActivePage(const std::string& caption);

  void Loaded() override;

  TNotifyEvent OnPageChanged;

 private:
  void ShowPage();

  int FPageIndex = -1;
};

void RegisterTabCtrlsClasses();

}  // namespace host
