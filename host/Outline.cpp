#include "host/Outline.h"

#include <algorithm>

namespace host {

const TClassInfo& TOutline::StaticClassInfo() {
  static TClassInfo info = [] {
    TClassInfo i("TOutline", &TWinControl::StaticClassInfo());
    TPublisher<TOutline>(i)
        .Enumeration("Align", AlignNames(), &TOutline::Align, &TOutline::SetAlign, alNone)
        .Color("Color", &TOutline::Color, &TOutline::SetColor, clWindow)
        .SubObject<TFont>(
            "Font", [](TOutline& o) -> TFont& { return o.Font(); }, &TOutline::SetFont)
        .Strings<TStrings>(
            "Lines", [](TOutline& o) -> TStringList& { return o.Lines(); }, &TOutline::SetLines)
        .Integer("TabOrder", &TOutline::TabOrder, &TOutline::SetTabOrder)
        .Boolean("TabStop", &TOutline::TabStop, &TOutline::SetTabStop, true);
    return i;
  }();
  return info;
}

TOutline::TOutline(TComponent* owner) : TWidgetControl(owner, TWidgetKind::Outline) {
  SetBounds(0, 0, 121, 97);
  FLines.OnChange = [this](TObject*) { LinesChanged(); };
}

void TOutline::LinesChanged() {
  FNodes.clear();
  int previous = 0;
  for (int i = 0; i < FLines.Count(); ++i) {
    const std::string line = FLines.Get(i);
    size_t depth = line.find_first_not_of(" \t");
    if (depth == std::string::npos) depth = line.size();
    TOutlineNode node;
    node.Text = line.substr(depth);
    node.Level = std::min(static_cast<int>(depth) + 1, previous + 1);
    node.Data = FLines.Objects(i);
    if (!FNodes.empty()) FNodes.back().HasItems = node.Level > FNodes.back().Level;
    previous = node.Level;
    FNodes.push_back(std::move(node));
  }
  FSelected = 0;
  if (auto* peer = WidgetPeer<ITreePeer>()) {
    peer->SetRows(Rows());
    peer->SetSelected(-1);
  }
}

std::vector<TOutlineRow> TOutline::Rows() const {
  std::vector<TOutlineRow> rows;
  for (const TOutlineNode& node : FNodes) rows.push_back({node.Text, node.Level, node.Expanded});
  return rows;
}

void TOutline::CheckIndex(int index) const {
  if (index < 1 || index > ItemCount())
    throw EListError("Outline index out of bounds (" + IntToStr(index) + ")");
}

const TOutlineNode& TOutline::Items(int index) const {
  CheckIndex(index);
  return FNodes[static_cast<size_t>(index - 1)];
}

int TOutline::GetTextItem(const std::string& text) const {
  for (size_t i = 0; i < FNodes.size(); ++i)
    if (SameText(FNodes[i].Text, text)) return static_cast<int>(i) + 1;
  return 0;
}

void TOutline::SetSelectedItem(int index) {
  if (index != 0) CheckIndex(index);
  FSelected = index;
  if (auto* peer = WidgetPeer<ITreePeer>()) peer->SetSelected(index - 1);
}

void TOutline::SetExpanded(int index, bool expanded) {
  CheckIndex(index);
  TOutlineNode& node = FNodes[static_cast<size_t>(index - 1)];
  if (node.Expanded == expanded) return;
  node.Expanded = expanded;
  if (auto* peer = WidgetPeer<ITreePeer>()) peer->SetExpanded(index - 1, expanded);
  if (expanded && OnExpand) OnExpand(this, index);
  if (!expanded && OnCollapse) OnCollapse(this, index);
}

void TOutline::FullExpand() {
  for (int i = 1; i <= ItemCount(); ++i)
    if (Items(i).HasItems) SetExpanded(i, true);
}

void TOutline::FullCollapse() {
  for (int i = 1; i <= ItemCount(); ++i)
    if (Items(i).HasItems) SetExpanded(i, false);
}

void TOutline::PeerCreated() {
  TWidgetControl::PeerCreated();
  auto* peer = WidgetPeer<ITreePeer>();
  peer->SetRows(Rows());
  peer->SetSelected(FSelected - 1);
}

void TOutline::WidgetChanged(const TWidgetChange& change) {
  int index = change.Index + 1;
  if (index < 1 || index > ItemCount()) return;
  switch (change.Kind) {
    case TWidgetChange::wcItemIndex:
      SetSelectedItem(index);
      Click();
      break;
    case TWidgetChange::wcExpanded:
      SetExpanded(index, true);
      break;
    case TWidgetChange::wcCollapsed:
      SetExpanded(index, false);
      break;
    case TWidgetChange::wcDblClick:
      DblClick();
      break;
    default:
      break;
  }
}

void RegisterOutlineClasses() {
  TClassRegistry::Register<TOutline>();
}

}  // namespace host
