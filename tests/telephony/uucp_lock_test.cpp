#include "platform/uucp_lock.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

using platform::ReadLockOwner;
using platform::TUucpLock;

namespace {

// Points the lock folder at a fresh temporary folder for one test.
class UucpLock : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(lockDir_.isValid());
    qputenv("QUORVEL_LOCK_DIR", lockDir_.path().toLocal8Bit());
    ASSERT_TRUE(QFile(devices_.filePath("ttyQ0")).open(QIODevice::WriteOnly));
    device_ = devices_.filePath("ttyQ0");
  }
  void TearDown() override { qunsetenv("QUORVEL_LOCK_DIR"); }

  static void WriteLock(const QString& path, const QByteArray& content) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
  }

  // The pid of a process that has certainly ended.
  static long EndedProcessId() {
    const pid_t child = fork();
    if (child == 0) _exit(0);
    waitpid(child, nullptr, 0);
    return child;
  }

  QTemporaryDir lockDir_;
  QTemporaryDir devices_;
  QString device_;
};

}  // namespace

TEST_F(UucpLock, FileNameFollowsLinksAndFlattensSubfolders) {
  const QString alias = devices_.filePath("modem");
  ASSERT_TRUE(QFile::link(device_, alias));
  const QString expected = lockDir_.path() + "/LCK.." + QString(device_).mid(1).replace('/', '_');
  EXPECT_EQ(TUucpLock::LockFilePath(device_), expected);
  EXPECT_EQ(TUucpLock::LockFilePath(alias), expected);
  EXPECT_EQ(TUucpLock::LockFilePath("/dev/ttyACM0"), lockDir_.path() + "/LCK..ttyACM0");
}

TEST_F(UucpLock, DefaultFolderIsVarLock) {
  qunsetenv("QUORVEL_LOCK_DIR");
  EXPECT_EQ(TUucpLock::LockDirectory(), "/var/lock");
}

TEST_F(UucpLock, HeldLockNamesThisProcessInTenDigitsAndGoesOnRelease) {
  TUucpLock lock;
  ASSERT_EQ(lock.Acquire(device_), TUucpLock::TResult::kAcquired);
  QFile file(TUucpLock::LockFilePath(device_));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), QByteArray::number(getpid()).rightJustified(10, ' ') + "\n");
  file.close();
  lock.Release();
  EXPECT_FALSE(QFile::exists(TUucpLock::LockFilePath(device_)));
}

TEST_F(UucpLock, RunningOwnerKeepsTheLineIncludingThisProcess) {
  TUucpLock first;
  ASSERT_EQ(first.Acquire(device_), TUucpLock::TResult::kAcquired);
  TUucpLock second;
  EXPECT_EQ(second.Acquire(device_), TUucpLock::TResult::kInUse);
  // Releasing the refused lock must not remove the holder's file.
  second.Release();
  EXPECT_TRUE(QFile::exists(TUucpLock::LockFilePath(device_)));
}

TEST_F(UucpLock, LockOfAnotherRunningProgramInAnyFormIsRespected) {
  const QString path = TUucpLock::LockFilePath(device_);
  const long parent = getppid();
  const QList<QByteArray> forms = {
      QByteArray::number(static_cast<qlonglong>(parent)).rightJustified(10, ' ') + "\n",
      QByteArray::number(static_cast<qlonglong>(parent)) + "\nsomeprogram\nsomehost\n",
      QByteArray(reinterpret_cast<const char*>(&parent), 4),
  };
  for (const QByteArray& form : forms) {
    WriteLock(path, form);
    EXPECT_EQ(ReadLockOwner(path), parent);
    TUucpLock lock;
    EXPECT_EQ(lock.Acquire(device_), TUucpLock::TResult::kInUse);
    EXPECT_EQ(ReadLockOwner(path), parent);
  }
}

TEST_F(UucpLock, LockUnderTheNameOfALinkIsRespected) {
  const QString alias = devices_.filePath("modem");
  ASSERT_TRUE(QFile::link(device_, alias));
  const QString aliasLock = lockDir_.path() + "/LCK.." + QString(alias).mid(1).replace('/', '_');
  WriteLock(aliasLock, QByteArray::number(static_cast<qlonglong>(getppid())) + "\n");
  TUucpLock lock;
  EXPECT_EQ(lock.Acquire(alias), TUucpLock::TResult::kInUse);
  EXPECT_EQ(lock.Acquire(device_), TUucpLock::TResult::kAcquired) << "only the link's name is locked";
  lock.Release();
  // A stale lock under the link's name is no obstacle.
  WriteLock(aliasLock, QByteArray::number(static_cast<qlonglong>(EndedProcessId())) + "\n");
  EXPECT_EQ(lock.Acquire(alias), TUucpLock::TResult::kAcquired);
}

TEST_F(UucpLock, ShortAsciiLockIsNotMistakenForTheBinaryForm) {
  const QString path = TUucpLock::LockFilePath(device_);
  WriteLock(path, "123\n");
  EXPECT_EQ(ReadLockOwner(path), 123);
  WriteLock(path, "  77");
  EXPECT_EQ(ReadLockOwner(path), 77);
}

TEST_F(UucpLock, StaleOrUnreadableLockIsTakenOver) {
  const QString path = TUucpLock::LockFilePath(device_);
  for (const QByteArray& content :
       {QByteArray::number(static_cast<qlonglong>(EndedProcessId())).rightJustified(10, ' ') + "\n",
        QByteArray(), QByteArray("garbage\n")}) {
    WriteLock(path, content);
    TUucpLock lock;
    ASSERT_EQ(lock.Acquire(device_), TUucpLock::TResult::kAcquired);
    EXPECT_EQ(ReadLockOwner(path), getpid());
  }
}

TEST_F(UucpLock, MissingLockFolderDoesNotKeepTheLineFromUse) {
  qputenv("QUORVEL_LOCK_DIR", lockDir_.filePath("no/such/folder").toLocal8Bit());
  TUucpLock lock;
  EXPECT_EQ(lock.Acquire(device_), TUucpLock::TResult::kAcquired);
  EXPECT_FALSE(lock.Held());
}
