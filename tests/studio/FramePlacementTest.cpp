#include "apps/studio/FramePlacement.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using mebrox::studio::FreePlace;
using mebrox::studio::OnScreen;
using mebrox::studio::WithinReach;

bool CoversAny(const QRect& placed, const std::vector<QRect>& taken) {
  for (const QRect& t : taken)
    if (placed.intersects(t)) return true;
  return false;
}

TEST(FramePlacementTest, ANewWindowGoesWhereItCoversNothingOnTheScreen) {
  const QRect screen(0, 0, 1280, 1024);
  const QRect studio(0, 0, 420, 700);
  struct TCase {
    const char* What;
    std::vector<QRect> Taken;
    QSize Size;
    QPoint Expected;
  };
  const std::vector<TCase> cases = {
      {"an empty screen: its corner", {}, {640, 480}, {0, 0}},
      {"beside the studio", {studio}, {640, 480}, {428, 0}},
      {"no room beside the first frame: below it",
       {studio, QRect(428, 0, 640, 480)},
       {640, 480},
       {428, 488}},
      {"a small one fits beside both", {studio, QRect(428, 0, 640, 480)}, {150, 100}, {1076, 0}},
      {"below the studio when it is wide", {QRect(0, 0, 1280, 300)}, {640, 480}, {0, 308}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.What);
    QPoint p = FreePlace(screen, c.Size, c.Taken);
    EXPECT_EQ(p, c.Expected);
    EXPECT_FALSE(CoversAny(QRect(p, c.Size), c.Taken));
    EXPECT_TRUE(screen.contains(QRect(p, c.Size)));
  }
}

TEST(FramePlacementTest, WithoutRoomTheWindowCoversTheLeastAndStaysOnTheScreen) {
  // Twice the scale: the studio itself is larger than the screen it is on.
  const QRect screen(0, 0, 640, 512);
  const std::vector<QRect> taken{QRect(0, 0, 420, 700), QRect(100, 40, 300, 200)};
  QPoint p = FreePlace(screen, {640, 480}, taken);
  EXPECT_TRUE(screen.contains(QRect(p, QSize(640, 480))));
  // Larger than the screen: its corner, title bar and all, at the screen's.
  EXPECT_EQ(FreePlace(screen, {900, 700}, taken), QPoint(0, 0));
  // A screen that starts below a panel and right of a dock.
  const QRect offset(64, 32, 1000, 700);
  EXPECT_EQ(FreePlace(offset, {300, 200}, {}), QPoint(64, 32));
}

TEST(FramePlacementTest, AWindowOutOfReachIsMovedOntoTheScreenAndOnlyThen) {
  const QRect screen(0, 0, 1280, 1024);
  struct TCase {
    QRect Window;
    bool Reachable;
    QPoint Moved;
  };
  const std::vector<TCase> cases = {
      {QRect(200, 120, 640, 480), true, {200, 120}},
      // Partly off at the right and bottom, its title bar still there to take hold of.
      {QRect(900, 800, 640, 480), true, {640, 544}},
      // Designed on a larger screen.
      {QRect(1500, 1100, 200, 150), false, {1080, 874}},
      {QRect(-300, 40, 200, 150), false, {0, 40}},
      {QRect(100, -20, 200, 150), false, {100, 0}},
      // Larger than the screen: its top-left corner at the screen's.
      {QRect(300, 300, 2000, 1500), true, {0, 0}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Window.x());
    EXPECT_EQ(WithinReach(screen, c.Window), c.Reachable);
    QRect moved = OnScreen(screen, c.Window);
    EXPECT_EQ(moved.topLeft(), c.Moved);
    EXPECT_EQ(moved.size(), c.Window.size());
  }
}

}  // namespace
