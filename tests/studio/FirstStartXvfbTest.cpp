// The studio's first start in a real X window (under Xvfb): the offer over the main window,
// answered with a real click from the X server, as a newcomer answers it.

#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <filesystem>

#include "apps/studio/FirstStart.h"
#include "apps/studio/StudioRun.h"
#include "apps/studio/StudioWindow.h"
#include "host/HostClasses.h"
#include "host/qt/QtBackend.h"
#include "ide/Registry.h"
#include "runtime/RuntimeClasses.h"
#include "tests/RealWindowSupport.h"
#include "tests/TestSupport.h"

namespace {

namespace fs = std::filesystem;
using mebrox::studio::QtStudioWindow;
using testing_support::Xdotool;

TEST(FirstStartXvfbTest, ANewcomerClicksOpenTheExamples) {
  ASSERT_EQ(QGuiApplication::platformName(), "xcb")
      << "run under xvfb-run with QT_QPA_PLATFORM=xcb";
  mebrox::RegisterRuntimeClasses();
  ide::TDesignCore core;
  mebrox::RegisterStudioPalette(core);
  testing_support::TempDir examples;
  testing_support::TempDir documents;
  fs::path oldDir = fs::current_path();
  fs::copy(MEBROX_TOUR_DIR, examples.File("tour"), fs::copy_options::recursive);
  mebrox::studio::TFirstStartPlaces places{QString::fromStdString(examples.Path()),
                                           QString::fromStdString(documents.File("Mebrox"))};
  {
    QtStudioWindow studio(core, {QString::fromStdString(documents.File("studio.ini")), {}});
    std::vector<std::string> messages;
    studio.OnMessage = [&](const QString&, const QString& text) {
      messages.push_back(text.toStdString());
    };
    studio.setGeometry(0, 0, 900, 560);
    studio.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&studio));
    QMessageBox* offer = mebrox::studio::OfferFirstStart(studio, places);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(offer));
    QPushButton* button = offer->findChild<QPushButton*>("OpenExamples");
    ASSERT_NE(button, nullptr);
    QTest::qWait(200);
    QPixmap screen = QGuiApplication::primaryScreen()->grabWindow(0);
    ASSERT_TRUE(screen.save(MEBROX_TEST_OUTPUT "/first-start-offer.png"));

    QPoint target = button->mapToGlobal(button->rect().center());
    Xdotool({"mousemove", QString::number(target.x()), QString::number(target.y())});
    Xdotool({"click", "1"}, 300);
    ASSERT_TRUE(QTest::qWaitFor([&] { return studio.Session() != nullptr; }, 5000))
        << "the click did not open the examples";
    EXPECT_EQ(studio.Session()->ProjectPath(), documents.File("Mebrox/Examples/tour/Tour.dpr"));
    EXPECT_TRUE(messages.empty());
    QTest::qWait(200);
    screen = QGuiApplication::primaryScreen()->grabWindow(0);
    ASSERT_TRUE(screen.save(MEBROX_TEST_OUTPUT "/first-start-examples.png"));
    ASSERT_TRUE(studio.CloseProject());
  }
  fs::current_path(oldDir);
}

}  // namespace
