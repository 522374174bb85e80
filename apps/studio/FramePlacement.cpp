#include "apps/studio/FramePlacement.h"

#include <algorithm>
#include <limits>

namespace mebrox::studio {

namespace {

// Room left between windows placed side by side.
constexpr int Gap = 8;
// The part of a window's top edge that must show for it to be taken hold of and moved.
constexpr int GripWidth = 120;
constexpr int GripHeight = 24;

long long Overlap(const QRect& a, const std::vector<QRect>& taken) {
  long long area = 0;
  for (const QRect& t : taken) {
    QRect common = a.intersected(t);
    if (!common.isEmpty()) area += static_cast<long long>(common.width()) * common.height();
  }
  return area;
}

}  // namespace

QRect OnScreen(const QRect& screen, const QRect& window) {
  QRect placed = window;
  if (placed.right() > screen.right()) placed.moveRight(screen.right());
  if (placed.bottom() > screen.bottom()) placed.moveBottom(screen.bottom());
  if (placed.left() < screen.left()) placed.moveLeft(screen.left());
  if (placed.top() < screen.top()) placed.moveTop(screen.top());
  return placed;
}

bool WithinReach(const QRect& screen, const QRect& window) {
  QRect grip(window.topLeft(),
             QSize(std::min(window.width(), GripWidth), std::min(window.height(), GripHeight)));
  return screen.contains(grip);
}

QPoint FreePlace(const QRect& screen, QSize size, const std::vector<QRect>& taken) {
  std::vector<QPoint> candidates{screen.topLeft()};
  for (const QRect& t : taken) {
    const int right = t.right() + 1 + Gap, below = t.bottom() + 1 + Gap;
    candidates.insert(candidates.end(), {{right, t.top()},
                                         {t.left(), below},
                                         {right, screen.top()},
                                         {screen.left(), below},
                                         {right, below}});
  }
  // Topmost first, then leftmost: windows fill the screen as lines of text do.
  std::stable_sort(candidates.begin(), candidates.end(), [](QPoint a, QPoint b) {
    return a.y() != b.y() ? a.y() < b.y() : a.x() < b.x();
  });
  QPoint best = screen.topLeft();
  long long least = std::numeric_limits<long long>::max();
  for (QPoint p : candidates) {
    QRect placed = OnScreen(screen, QRect(p, size));
    long long covered = Overlap(placed, taken);
    if (covered == 0 && placed.topLeft() == p) return p;
    if (covered < least) {
      least = covered;
      best = placed.topLeft();
    }
  }
  return best;
}

}  // namespace mebrox::studio
