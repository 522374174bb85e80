#pragma once

#include <gtest/gtest.h>

#include <QProcess>
#include <QStringList>
#include <QTest>

namespace testing_support {

// Sends pointer and key events through the X server, as a mouse and keyboard do, and lets the
// application take them for settleMs before going on.
inline void Xdotool(const QStringList& args, int settleMs = 150) {
  QProcess tool;
  tool.start("xdotool", args);
  while (tool.state() != QProcess::NotRunning) {
    QTest::qWait(20);
    tool.waitForFinished(10);
  }
  ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
  QTest::qWait(settleMs);
}

}  // namespace testing_support
