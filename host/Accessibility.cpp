#include "host/Accessibility.h"

#include <algorithm>
#include <utility>

namespace host {

namespace {

TAccessibleNotifier& Notifier() {
  static TAccessibleNotifier notifier;
  return notifier;
}

}  // namespace

const char* AccessibleRoleName(TAccessibleRole role) {
  switch (role) {
    case TAccessibleRole::None:
      return "none";
    case TAccessibleRole::Window:
      return "window";
    case TAccessibleRole::Dialog:
      return "dialog";
    case TAccessibleRole::Alert:
      return "alert";
    case TAccessibleRole::Pane:
      return "pane";
    case TAccessibleRole::StaticText:
      return "static text";
    case TAccessibleRole::Text:
      return "text";
    case TAccessibleRole::Link:
      return "link";
    case TAccessibleRole::Button:
      return "button";
    case TAccessibleRole::ToggleButton:
      return "toggle button";
    case TAccessibleRole::Graphic:
      return "graphic";
  }
  return "none";
}

void SetAccessibleNotifier(TAccessibleNotifier notifier) {
  Notifier() = std::move(notifier);
}

void NotifyAccessible(TControl& control, int child, TAccessibleEvent event) {
  if (Notifier()) Notifier()(control, child, event);
}

TRect UnionOfRects(const std::vector<TRect>& rects) {
  if (rects.empty()) return {};
  TRect all = rects.front();
  for (const TRect& r : rects) {
    all.Left = std::min(all.Left, r.Left);
    all.Top = std::min(all.Top, r.Top);
    all.Right = std::max(all.Right, r.Right);
    all.Bottom = std::max(all.Bottom, r.Bottom);
  }
  return all;
}

}  // namespace host
