// How a frame's border reaches its window: what a window manager is told on any platform, and
// what a user can do with the window in a real X session (the same tests run under Xvfb).

#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QTest>
#include <QWidget>

#include "host/FormFile.h"
#include "host/Forms.h"
#include "host/qt/QtBackend.h"
#include "tests/runtime/RuntimeTestSupport.h"

using namespace host;

namespace {

bool RealWindows() {
  return QGuiApplication::platformName() != "offscreen";
}

QWidget& ShownWindow(TForm& frame) {
  frame.Show();
  QWidget* window = qt::WidgetOf(frame);
  EXPECT_NE(window, nullptr);
  if (RealWindows()) {
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
  }
  return *window;
}

}  // namespace

// The tour's frames are single-bordered: the user can neither drag their size nor maximize them.
TEST(FrameWindowTest, ASingleBorderedFrameKeepsItsSizeAndOffersNoMaximize) {
  testing_support::Frames app(1);
  TForm& frame = app[1];
  ReadComponentText(
      "object Form1: TForm1\n  Left = 40\n  Top = 30\n  Width = 320\n  Height = 240\n"
      "  BorderStyle = bsSingle\n  Caption = 'Single'\nend\n",
      frame, "Single.dfm");
  QWidget& window = ShownWindow(frame);
  const Qt::WindowFlags flags = window.windowFlags();
  EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
  EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
  if (!RealWindows()) return;
  EXPECT_EQ(window.minimumSize(), QSize(320, 240));
  EXPECT_EQ(window.maximumSize(), QSize(320, 240));
  window.resize(500, 400);
  window.showMaximized();
  QTest::qWait(100);
  EXPECT_EQ(window.size(), QSize(320, 240));
  EXPECT_EQ(frame.Width(), 320);
  EXPECT_EQ(frame.Height(), 240);
}

TEST(FrameWindowTest, BorderIconsAndStyleChoseWhatTheTitleBarOffers) {
  testing_support::Frames app(2);
  ReadComponentText(
      "object Form1: TForm1\n  Width = 300\n  Height = 200\n  BorderIcons = [biSystemMenu]\n"
      "end\n",
      app[1], "Sizeable.dfm");
  QWidget& sizeable = ShownWindow(app[1]);
  EXPECT_FALSE(sizeable.windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(sizeable.windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(sizeable.windowFlags() & Qt::WindowCloseButtonHint);
  if (RealWindows()) {
    sizeable.resize(420, 310);
    QTest::qWait(100);
    EXPECT_EQ(app[1].Width(), 420) << "a sizeable frame follows its window";
  }

  ReadComponentText(
      "object Form2: TForm2\n  Width = 300\n  Height = 200\n  BorderIcons = []\n"
      "  BorderStyle = bsSingle\nend\n",
      app[2], "Bare.dfm");
  QWidget& bare = ShownWindow(app[2]);
  EXPECT_FALSE(bare.windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint |
                                     Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
  EXPECT_TRUE(bare.windowFlags() & Qt::WindowTitleHint);
}
