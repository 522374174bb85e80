// The main of the tests that run the studio in real X windows, as the studio's own main does:
// its shell keeps the desktop's look around the kit's classic windows.

#include <gtest/gtest.h>

#include <QApplication>

#include "host/HostClasses.h"
#include "host/qt/QtBackend.h"
#include "tests/TestSupport.h"

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
