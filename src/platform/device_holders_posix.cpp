#include "platform/device_holders.h"

#include <QFile>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace platform {
namespace {

bool IsNumber(const char* name) {
  if (*name == '\0') return false;
  for (; *name; ++name) {
    if (*name < '0' || *name > '9') return false;
  }
  return true;
}

QByteArray RealPath(const QString& path) {
  char resolved[PATH_MAX];
  return ::realpath(QFile::encodeName(path).constData(), resolved) ? QByteArray(resolved) : QByteArray();
}

}  // namespace

std::vector<bool> HeldByOtherProcesses(const QStringList& paths) {
  std::vector<bool> held(static_cast<size_t>(paths.size()), false);
  std::vector<QByteArray> targets;
  targets.reserve(held.size());
  for (const QString& path : paths) targets.push_back(RealPath(path));

  DIR* proc = ::opendir("/proc");
  if (!proc) return held;
  const QByteArray self = QByteArray::number(static_cast<qlonglong>(::getpid()));
  char link[PATH_MAX];
  // Each process's open files are the links in /proc/<pid>/fd.
  while (const dirent* process = ::readdir(proc)) {
    if (!IsNumber(process->d_name) || self == process->d_name) continue;
    const int fdDir = ::openat(::dirfd(proc), (QByteArray(process->d_name) + "/fd").constData(),
                               O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fdDir < 0) continue;  // gone meanwhile, or another user's
    DIR* fds = ::fdopendir(fdDir);
    if (!fds) {
      ::close(fdDir);
      continue;
    }
    while (const dirent* fd = ::readdir(fds)) {
      if (fd->d_name[0] == '.') continue;
      const ssize_t length = ::readlinkat(fdDir, fd->d_name, link, sizeof link);
      // Only device files can be serial lines.
      if (length < 5 || std::memcmp(link, "/dev/", 5) != 0) continue;
      const QByteArray opened(link, length);
      for (size_t i = 0; i < targets.size(); ++i) {
        if (!targets[i].isEmpty() && targets[i] == opened) held[i] = true;
      }
    }
    ::closedir(fds);
  }
  ::closedir(proc);
  return held;
}

}  // namespace platform
