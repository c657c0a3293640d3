#include "platform/single_instance.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Points XDG_RUNTIME_DIR at a private folder for one test.
class SingleInstanceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    previous_ = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", dir_.path().toLocal8Bit());
  }
  void TearDown() override { qputenv("XDG_RUNTIME_DIR", previous_); }

  QTemporaryDir dir_;
  QByteArray previous_;
};

}  // namespace

TEST_F(SingleInstanceTest, LockLivesInTheRuntimeFolder) {
  EXPECT_EQ(platform::SingleInstanceLockPath("Quorvel"), dir_.path() + "/Quorvel.lock");
}

TEST_F(SingleInstanceTest, SecondHolderIsRefusedUntilTheFirstEnds) {
  {
    platform::SingleInstanceLock first("Quorvel");
    ASSERT_TRUE(first.TryLock());
    EXPECT_TRUE(first.TryLock());  // asking again keeps it
    EXPECT_TRUE(QFileInfo::exists(dir_.path() + "/Quorvel.lock"));

    platform::SingleInstanceLock second("Quorvel");
    EXPECT_FALSE(second.TryLock());
    platform::SingleInstanceLock otherName("Quorvel2");
    EXPECT_TRUE(otherName.TryLock());
  }
  EXPECT_FALSE(QFileInfo::exists(dir_.path() + "/Quorvel.lock"));
  platform::SingleInstanceLock later("Quorvel");
  EXPECT_TRUE(later.TryLock());
}

TEST_F(SingleInstanceTest, LockOfAKilledProcessIsTakenOver) {
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    platform::SingleInstanceLock held("Quorvel");
    const char ok = held.TryLock() ? 'y' : 'n';
    [[maybe_unused]] ssize_t n = ::write(ready[1], &ok, 1);
    for (;;) ::pause();
  }
  ::close(ready[1]);
  char answer = 0;
  ASSERT_EQ(::read(ready[0], &answer, 1), 1);
  ::close(ready[0]);
  ASSERT_EQ(answer, 'y');

  platform::SingleInstanceLock mine("Quorvel");
  EXPECT_FALSE(mine.TryLock());  // the child is alive and holds it

  ::kill(child, SIGKILL);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(QFileInfo::exists(dir_.path() + "/Quorvel.lock"));  // left behind
  EXPECT_TRUE(mine.TryLock());
}
