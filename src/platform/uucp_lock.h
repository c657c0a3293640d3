#pragma once

#include <QString>

namespace platform {

// A UUCP-style lock file "LCK..<device>" in the system's lock folder, the
// convention by which serial-line programs keep out of each other's way. The
// file holds the owner's process id as ten ASCII digits and a newline; a
// file naming a process that no longer runs is stale and is taken over.
class TUucpLock {
 public:
  enum class TResult { kAcquired, kInUse };

  TUucpLock() = default;
  ~TUucpLock();
  TUucpLock(const TUucpLock&) = delete;
  TUucpLock& operator=(const TUucpLock&) = delete;

  // The lock folder: $QUORVEL_LOCK_DIR when set, else /var/lock.
  static QString LockDirectory();
  // The lock file for a device path. Symbolic links are followed first, so
  // /dev/modem and the device it points at share one lock; "/dev/" is left
  // out and further "/" become "_" (/dev/pts/3 gives "LCK..pts_3").
  static QString LockFilePath(const QString& devicePath);

  // Takes the lock for `devicePath`. kInUse when a running process (this
  // one included) holds it, also when it holds it under the name of the
  // link `devicePath` is (a program that opened /dev/modem may have
  // locked "LCK..modem"). When the lock folder is missing or not
  // writable the device is used without a lock file: nothing to respect.
  TResult Acquire(const QString& devicePath);
  // Removes the lock file if it still names this process.
  void Release();

  bool Held() const { return !path_.isEmpty(); }

 private:
  QString path_;
};

// The process id a lock file names, or 0 when it names none (missing,
// empty, unreadable). Reads ASCII and the old 4-byte binary form.
long ReadLockOwner(const QString& lockFilePath);

// True when process `pid` exists (also when it belongs to another user).
bool ProcessIsRunning(long pid);

}  // namespace platform
