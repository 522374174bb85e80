#pragma once

#include <functional>
#include <string>
#include <vector>

#include "host/Controls.h"
#include "host/Strings.h"

namespace host {

// One item of an outline, as the outline reads it from its line.
struct TOutlineNode {
  std::string Text;  // the line without its leading blanks and tabs
  int Level = 1;     // 1 for top-level items
  TObject* Data = nullptr;
  bool Expanded = false;
  bool HasItems = false;  // the next item lies one level deeper
};

using TOutlineNodeEvent = std::function<void(TObject* sender, int index)>;

// A tree read from lines of text: each leading blank or tab puts an item one level deeper, under
// the nearest item above it (never more than one level below that item). Items count from 1, as
// they did in the old outline; SelectedItem 0 means none. Items start collapsed.
class TOutline : public TWidgetControl {
  HOST_PUBLISHED_CLASS
 public:
  explicit TOutline(TComponent* owner);

  TStringList& Lines() { return FLines; }
  void SetLines(const TStrings& value) { FLines.Assign(value); }
  int ItemCount() const { return static_cast<int>(FNodes.size()); }
  // Fails with EListError outside 1 .. ItemCount.
  const TOutlineNode& Items(int index) const;
  // The first item whose text is text (ignoring case), or 0.
  int GetTextItem(const std::string& text) const;
  int SelectedItem() const { return FSelected; }
  void SetSelectedItem(int index);
  void Clear() { FLines.Clear(); }
  void SetExpanded(int index, bool expanded);
  void FullExpand();
  void FullCollapse();

  void WidgetChanged(const TWidgetChange& change) override;

  TOutlineNodeEvent OnExpand;
  TOutlineNodeEvent OnCollapse;

 protected:
  void PeerCreated() override;

 private:
  void LinesChanged();
  void CheckIndex(int index) const;
  std::vector<TOutlineRow> Rows() const;

  TStringList FLines;
  std::vector<TOutlineNode> FNodes;
  int FSelected = 0;
};

void RegisterOutlineClasses();

}  // namespace host
