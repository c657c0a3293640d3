#include "platform/app_folders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <unistd.h>

#include "platform/user_data.h"

namespace platform {
namespace {

QString WithSlash(const QString& folder) {
  return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

}  // namespace

QString ExecutableFolder() {
  // The kernel's name for the running file: links such as /usr/bin/quorvel
  // are already resolved to the program's own folder.
  const QString file = QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
  return WithSlash(QFileInfo(file).absolutePath());
}

bool IsWritableFolder(const QString& folder) {
  // access() asks the kernel, so ownership, mode bits, ACLs and read-only
  // mounts all count.
  return access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0;
}

TAppFolders AppFoldersFor(const QString& programFolder,
                          const std::function<bool(const QString&)>& writable) {
  TAppFolders folders;
  folders.program = WithSlash(programFolder);
  folders.data = writable(folders.program) ? folders.program : WithSlash(UserDataFolder());
  return folders;
}

TAppFolders PrepareAppFolders(const QString& programFolder, const QStringList& carriedOver) {
  const TAppFolders folders = AppFoldersFor(programFolder);
  if (folders.data != folders.program && !QFileInfo::exists(folders.data)) {
    // Parents are made with the usual mode; the folder itself is private.
    if (!QDir().mkpath(folders.data)) return folders;
    QFile::setPermissions(folders.data,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    for (const QString& name : carriedOver) {
      const QString from = folders.program + name;
      // The copy is the user's own to change, whatever the original's mode.
      if (QFileInfo(from).isFile() && QFile::copy(from, folders.data + name))
        QFile::setPermissions(folders.data + name, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
  }
  return folders;
}

}  // namespace platform
