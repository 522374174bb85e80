#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <vector>

namespace mebrox::studio {

// Where the studio opens the windows of frames. Rectangles are whole windows, frames included,
// in the screen's coordinates.

// The top-left corner for a new window of that size on screen (its available part): the
// topmost, then leftmost, place beside or below the taken windows, or at the screen's corner,
// where it covers none of them and lies wholly on the screen. When there is no such place, the
// one where it covers the least of them, still on the screen.
QPoint FreePlace(const QRect& screen, QSize size, const std::vector<QRect>& taken);

// The window moved, never sized, so that it lies on the screen: wholly when it fits, else with
// its top-left corner (where its title bar is held) at the screen's.
QRect OnScreen(const QRect& screen, const QRect& window);

// Whether a person can take hold of the window: the start of its top edge, where the title bar
// is, lies on the screen.
bool WithinReach(const QRect& screen, const QRect& window);

}  // namespace mebrox::studio
