#pragma once

#include <QLockFile>
#include <QString>

// Marks the one running copy of the program for the current user: a lock
// file in the user's runtime folder. Taking the lock is atomic, so two copies
// started in the same instant cannot both run, and the lock of a copy that
// died (even by SIGKILL) is recognised as stale and taken over.
namespace platform {

// <runtime folder>/<name>.lock, the runtime folder being $XDG_RUNTIME_DIR
// or Qt's per-user fallback.
QString SingleInstanceLockPath(const QString& name);

class SingleInstanceLock {
 public:
  explicit SingleInstanceLock(const QString& name);
  SingleInstanceLock(const SingleInstanceLock&) = delete;
  SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

  // Returns true when this process now holds the lock (kept until destruction),
  // false when another live process holds it.
  bool TryLock();

 private:
  QLockFile lock_;
};

}  // namespace platform
