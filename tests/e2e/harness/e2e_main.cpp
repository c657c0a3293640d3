// main() for end-to-end tests: a core application for the child processes.
#include <QCoreApplication>
#include <gtest/gtest.h>

#include "private_lock_dir.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  UsePrivateLockDir();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
