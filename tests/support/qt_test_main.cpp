// main() for GoogleTest executables that need a QApplication. Tests run on
// the offscreen platform unless the environment says otherwise.
#include <QApplication>
#include <gtest/gtest.h>

#include "private_lock_dir.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  UsePrivateLockDir();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
