// The studio in real X windows (under Xvfb), moved by real pointer events from the X server:
// what a designer sees and does, taken as screenshots to be looked at.

#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QProcess>
#include <QScreen>
#include <QStyleHints>
#include <QTest>
#include <filesystem>

#include "apps/studio/PropertyPanel.h"
#include "apps/studio/StudioRun.h"
#include "apps/studio/StudioWindow.h"
#include "host/HostClasses.h"
#include "host/qt/QtBackend.h"
#include "ide/Registry.h"
#include "runtime/RuntimeClasses.h"
#include "tests/RealWindowSupport.h"
#include "tests/TestSupport.h"

namespace {

using testing_support::Xdotool;

namespace fs = std::filesystem;
using mebrox::studio::QtStudioWindow;

void SaveScreen(const std::string& name) {
  QPixmap screen = QGuiApplication::primaryScreen()->grabWindow(0);
  ASSERT_TRUE(screen.save(QString::fromStdString(std::string(MEBROX_TEST_OUTPUT) + "/" + name)));
}

TEST(StudioXvfbTest, ADesignerDragsAComponentAndTheInspectorFollows) {
  ASSERT_EQ(QGuiApplication::platformName(), "xcb")
      << "run under xvfb-run with QT_QPA_PLATFORM=xcb";
  mebrox::RegisterRuntimeClasses();
  ide::ResetRegistry();
  mebrox::RegisterStudioPalette();
  testing_support::TempDir work;
  fs::path oldDir = fs::current_path();
  fs::copy(MEBROX_TOUR_DIR, work.File("tour"), fs::copy_options::recursive);
  {
    QtStudioWindow studio({QString::fromStdString(work.File("studio.ini")), {}});
    std::vector<std::string> messages;
    studio.OnMessage = [&](const QString&, const QString& text) {
      messages.push_back(text.toStdString());
    };
    studio.setGeometry(0, 0, 420, 900);
    studio.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&studio));
    ASSERT_TRUE(studio.OpenProject(QString::fromStdString(work.File("tour/Tour.dpr"))));
    host::TForm& form = *studio.Session()->FindForm("Form1");
    QWidget* window = host::qt::WidgetOf(form);
    ASSERT_NE(window, nullptr);
    window->move(440, 60);
    window->raise();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    QTest::qWait(300);

    auto& title = dynamic_cast<host::TControl&>(*form.FindComponent("Title1"));
    const int left = title.Left(), top = title.Top();
    QPoint grip = window->mapToGlobal(QPoint(left + 20, top + 10));
    const QString x = QString::number(grip.x()), y = QString::number(grip.y());
    Xdotool({"mousemove", x, y, "click", "1"});
    ASSERT_EQ(studio.CurrentForm(), &form);
    ASSERT_EQ(studio.PropertyPanel().ValueText("Name"), "Title1");
    SaveScreen("studio-xvfb-selected.png");

    // Long enough after the click that the press is not a double-click.
    QTest::qWait(QGuiApplication::styleHints()->mouseDoubleClickInterval() + 100);
    // A drag in small steps, as a hand makes it; the grid takes the designer's 8 pixels.
    Xdotool({"mousedown", "1"});
    for (int step = 1; step <= 4; ++step)
      Xdotool({"mousemove", QString::number(grip.x() + 10 * step),
               QString::number(grip.y() + 6 * step)});
    Xdotool({"mouseup", "1"});
    EXPECT_EQ(title.Left(), left + 40);
    EXPECT_EQ(title.Top(), top + 24);
    EXPECT_EQ(studio.PropertyPanel().ValueText("Left").toInt(), title.Left());
    EXPECT_EQ(studio.PropertyPanel().ValueText("Top").toInt(), title.Top());
    EXPECT_TRUE(studio.Session()->Modified());
    SaveScreen("studio-xvfb-dragged.png");
    EXPECT_TRUE(messages.empty());
    studio.OnAskSave = [](const QString&) { return int(QMessageBox::Discard); };
  }
  fs::current_path(oldDir);
  ide::ResetRegistry();
}

}  // namespace

// The studio's own main: its shell keeps the desktop's look around the kit's classic windows.
int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  ::setenv("SDL_AUDIODRIVER", "dummy", 0);
  testing_support::TempDir windowsDir;
  ::setenv("MEBROX_WINDIR", windowsDir.Path().c_str(), 1);
  testing_support::TempDir stateDir;
  ::setenv("XDG_STATE_HOME", stateDir.Path().c_str(), 1);
  int qtArgc = 1;
  char name[] = "mebrox-studio";
  char* qtArgv[] = {name, nullptr};
  QApplication app(qtArgc, qtArgv);
  host::qt::InstallQtBackend(/*scriptedDialogs=*/true, /*classicEverywhere=*/false);
  host::RegisterHostClasses();
  return RUN_ALL_TESTS();
}
