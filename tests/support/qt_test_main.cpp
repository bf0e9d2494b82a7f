// The one main() of the tests that need a QApplication (main window, dialogs,
// view, the pictures the end-to-end tests expect): offscreen unless told
// otherwise, and never the player's settings; tests that write settings get a
// folder of their own (see PrivateStore).
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Listing the tests (ctest's discovery) needs no display at all.
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();

  // Nothing may reach the real settings, not even before the first test.
  QTemporaryDir config;
  if (!config.isValid()) return 1;
  qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // No session bus, and none to be started: without an address the bus library
  // forks a launcher from Qt's bus thread, and in the sanitized build the
  // forked child can hang for good on an allocator lock another thread held.
  qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent");
  // As the program runs: the board is not scaled with the screen's density.
  qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
