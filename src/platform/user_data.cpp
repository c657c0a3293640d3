#include "user_data.h"

#include <QDir>

namespace platform {

QString UserDataFolder() {
  QString base = qEnvironmentVariable("XDG_DATA_HOME");
  // The base directory specification: a relative path is invalid and ignored.
  if (base.isEmpty() || QDir::isRelativePath(base))
    base = QDir::homePath() + QStringLiteral("/.local/share");
  return base + QStringLiteral("/Varnock/Quorvel");
}

}  // namespace platform
