#include "platform/uucp_lock.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <sys/types.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr const char* kDefaultLockDirectory = "/var/lock";
constexpr const char* kLockDirectoryVariable = "QUORVEL_LOCK_DIR";
constexpr int kTakeOverAttempts = 3;

// Creates the lock file only if it does not exist. 0 on success, else errno.
int CreateExclusive(const QByteArray& path) {
  const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) return errno;
  char text[16];
  const int length = std::snprintf(text, sizeof text, "%10ld\n", static_cast<long>(::getpid()));
  const bool written = ::write(fd, text, static_cast<size_t>(length)) == length;
  ::close(fd);
  if (!written) {
    ::unlink(path.constData());
    return EIO;
  }
  return 0;
}

// "LCK.." + the device's name below /dev, "/" replaced by "_".
QString LockFileFor(QString device) {
  const QString devPrefix = QStringLiteral("/dev/");
  if (device.startsWith(devPrefix)) device = device.mid(devPrefix.size());
  while (device.startsWith('/')) device.remove(0, 1);
  device.replace('/', '_');
  return TUucpLock::LockDirectory() + QStringLiteral("/LCK..") + device;
}

// The lock file a program would use that names the device by the path it
// was given, without following links (for example "LCK..modem").
QString UnresolvedLockFilePath(const QString& devicePath) {
  return LockFileFor(QFileInfo(devicePath).absoluteFilePath());
}

}  // namespace

TUucpLock::~TUucpLock() { Release(); }

QString TUucpLock::LockDirectory() {
  const QString configured = qEnvironmentVariable(kLockDirectoryVariable);
  return configured.isEmpty() ? QString::fromLatin1(kDefaultLockDirectory) : configured;
}

QString TUucpLock::LockFilePath(const QString& devicePath) {
  const QString canonical = QFileInfo(devicePath).canonicalFilePath();
  return canonical.isEmpty() ? UnresolvedLockFilePath(devicePath) : LockFileFor(canonical);
}

TUucpLock::TResult TUucpLock::Acquire(const QString& devicePath) {
  Release();
  const QString path = LockFilePath(devicePath);
  // A program that opened the device through a link may have locked it
  // under the link's name.
  const QString aliasPath = UnresolvedLockFilePath(devicePath);
  if (aliasPath != path && ProcessIsRunning(ReadLockOwner(aliasPath))) return TResult::kInUse;
  const QByteArray nativePath = QFile::encodeName(path);
  for (int attempt = 0; attempt < kTakeOverAttempts; ++attempt) {
    const int error = CreateExclusive(nativePath);
    if (error == 0) {
      path_ = path;
      return TResult::kAcquired;
    }
    if (error != EEXIST) {
      // No usable lock folder: nobody can hold a lock there, so the device
      // is free as far as this convention goes.
      return TResult::kAcquired;
    }
    const long owner = ReadLockOwner(path);
    if (owner > 0 && ProcessIsRunning(owner)) return TResult::kInUse;
    // Stale: its owner is gone. Another program may take it over at the
    // same moment; O_EXCL on the next round decides who wins.
    ::unlink(nativePath.constData());
  }
  return TResult::kInUse;
}

void TUucpLock::Release() {
  if (path_.isEmpty()) return;
  if (ReadLockOwner(path_) == static_cast<long>(::getpid())) {
    ::unlink(QFile::encodeName(path_).constData());
  }
  path_.clear();
}

long ReadLockOwner(const QString& lockFilePath) {
  QFile file(lockFilePath);
  if (!file.open(QIODevice::ReadOnly)) return 0;
  const QByteArray content = file.read(64);
  // ASCII: leading blanks, then digits. Other programs (Qt's own lock
  // files among them) add further lines after the pid.
  bool ok = false;
  const long pid = content.split('\n').value(0).trimmed().toLong(&ok);
  if (ok) return pid > 0 ? pid : 0;
  if (content.size() == 4) {
    // The old binary form: the pid as a native int.
    std::int32_t binary = 0;
    std::memcpy(&binary, content.constData(), sizeof binary);
    return binary > 0 ? binary : 0;
  }
  return 0;
}

bool ProcessIsRunning(long pid) {
  if (pid <= 0) return false;
  if (::kill(static_cast<pid_t>(pid), 0) == 0) return true;
  return errno == EPERM;
}

}  // namespace platform
