#include <gtest/gtest.h>

#include "tests/TestSupport.h"

// Every test process gets its own settings directory, so no test touches the user's files.
int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  testing_support::TempDir windowsDir;
  ::setenv("MEBROX_WINDIR", windowsDir.Path().c_str(), 1);
  // Recovery files of the studio's sessions stay with the tests, not in the user's state.
  testing_support::TempDir stateDir;
  ::setenv("XDG_STATE_HOME", stateDir.Path().c_str(), 1);
  return RUN_ALL_TESTS();
}
