#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

#include "host/HostClasses.h"
#include "host/qt/QtBackend.h"
#include "tests/TestSupport.h"

namespace {

// The QApplication exists only while tests run: test discovery starts the binary without the
// test environment, so nothing may need a display before InitGoogleTest has parsed the flags.
class GuiEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "mebrox-tests";
    static char* argv[] = {name, nullptr};
    FApp = std::make_unique<QApplication>(argc, argv);
    host::qt::InstallQtBackend(/*scriptedDialogs=*/true);
    host::RegisterHostClasses();
  }
  void TearDown() override { FApp.reset(); }

 private:
  std::unique_ptr<QApplication> FApp;
};

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  ::setenv("SDL_AUDIODRIVER", "dummy", 0);
  testing_support::TempDir windowsDir;
  ::setenv("MEBROX_WINDIR", windowsDir.Path().c_str(), 1);
  // Recovery files of the studio's sessions stay with the tests, not in the user's state.
  testing_support::TempDir stateDir;
  ::setenv("XDG_STATE_HOME", stateDir.Path().c_str(), 1);
  testing::AddGlobalTestEnvironment(new GuiEnvironment);
  return RUN_ALL_TESTS();
}
