// main() for the shell's widget tests: the program's own application object,
// so the general error report is part of what is tested.
#include <gtest/gtest.h>

#include "private_lock_dir.h"

#include "app/quorvel_application.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  TQuorvelApplication app(argc, argv);
  UsePrivateLockDir();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
