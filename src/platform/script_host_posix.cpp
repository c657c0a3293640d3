#include "platform/script_host.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr mode_t kScriptFileMode = 0600;

std::string Reason(int error) { return std::strerror(error); }

// Writes everything or returns the error number.
int WriteAll(int fd, const std::string& data) {
  std::size_t done = 0;
  while (done < data.size()) {
    const ssize_t written = write(fd, data.data() + done, data.size() - done);
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    done += static_cast<std::size_t>(written);
  }
  return 0;
}

}  // namespace

std::vector<std::string> ScriptHostArguments(const std::string& fullPath) {
  return {fullPath};
}

std::string WriteScriptFile(const std::string& fullPath, const std::vector<std::string>& lines) {
  std::string content;
  for (const std::string& line : lines) content += line + kScriptLineEnd;

  // The temporary file is always made anew, never opened through a link
  // someone left in its place, and only the user may read the script.
  const std::string temporary = fullPath + ".new";
  if (unlink(temporary.c_str()) != 0 && errno != ENOENT) return Reason(errno);
  const int fd = open(temporary.c_str(),
                      O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, kScriptFileMode);
  if (fd < 0) return Reason(errno);
  int error = fchmod(fd, kScriptFileMode) == 0 ? 0 : errno;
  if (error == 0) error = WriteAll(fd, content);
  if (close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && rename(temporary.c_str(), fullPath.c_str()) != 0) error = errno;
  if (error != 0) {
    unlink(temporary.c_str());
    return Reason(error);
  }
  return {};
}

bool ScriptFileExists(const std::string& fullPath) {
  struct stat info {};
  return stat(fullPath.c_str(), &info) == 0;
}

}  // namespace platform
