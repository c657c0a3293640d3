#include "single_instance.h"

#include <QDir>
#include <QStandardPaths>

namespace platform {

QString SingleInstanceLockPath(const QString& name) {
  QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (dir.isEmpty()) dir = QDir::tempPath();
  return dir + QLatin1Char('/') + name + QStringLiteral(".lock");
}

SingleInstanceLock::SingleInstanceLock(const QString& name) : lock_(SingleInstanceLockPath(name)) {
  // A running copy may be idle for months: never treat its lock as stale by
  // age, only when its process is gone.
  lock_.setStaleLockTime(0);
}

bool SingleInstanceLock::TryLock() { return lock_.isLocked() || lock_.tryLock(0); }

}  // namespace platform
