#include "user_data.h"

#include <QDir>

namespace platform {

QString UserDataFolder() {
  QString base = qEnvironmentVariable("XDG_DATA_HOME");
  // Only an absolute path counts: the desktop's programs ignore a relative one.
  if (base.isEmpty() || QDir::isRelativePath(base))
    base = QDir::homePath() + QStringLiteral("/.local/share");
  return base + QStringLiteral("/Varnock/Quorvel");
}

}  // namespace platform
