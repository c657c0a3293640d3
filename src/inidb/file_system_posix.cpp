// The database's only contact with the operating system: POSIX files,
// atomic replacement by rename, and flock-based locks.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "inidb/file_system.h"

namespace {

// Symbolic links followed at most this deep, as the kernel does.
constexpr int MaxLinkDepth = 40;
constexpr char LockSuffix[] = ".lock";
constexpr char TempSuffix[] = ".tmp";
constexpr mode_t NewFileMode = 0666;  // narrowed by the umask

class TDescriptor {
 public:
  explicit TDescriptor(int fd = -1) : Fd(fd) {}
  ~TDescriptor() {
    if (Fd >= 0) ::close(Fd);
  }
  TDescriptor(const TDescriptor&) = delete;
  TDescriptor& operator=(const TDescriptor&) = delete;
  int Get() const { return Fd; }
  int Release() {
    const int fd = Fd;
    Fd = -1;
    return fd;
  }

 private:
  int Fd;
};

class TPosixPin : public TFilePin {
 public:
  explicit TPosixPin(int fd) : Fd(fd) {}

 private:
  TDescriptor Fd;
};

class TPosixLock : public TFileLock {
 public:
  explicit TPosixLock(int fd) : Fd(fd) {}
  ~TPosixLock() override { ::flock(Fd.Get(), LOCK_UN); }

 private:
  TDescriptor Fd;
};

TFileStamp StampOf(const struct stat& st) {
  TFileStamp stamp;
  stamp.Device = static_cast<std::uint64_t>(st.st_dev);
  stamp.Inode = static_cast<std::uint64_t>(st.st_ino);
  stamp.Size = static_cast<std::int64_t>(st.st_size);
  stamp.MTimeSeconds = static_cast<std::int64_t>(st.st_mtim.tv_sec);
  stamp.MTimeNanoseconds = static_cast<std::int64_t>(st.st_mtim.tv_nsec);
  return stamp;
}

std::string DirectoryOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file a write must replace: `path` with every symbolic link at its end
// followed, so the link itself survives. Empty on a link loop.
std::string FinalTarget(const std::string& path) {
  std::string current = path;
  for (int depth = 0; depth < MaxLinkDepth; ++depth) {
    struct stat st;
    if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
    std::vector<char> target(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1);
    const ssize_t length = ::readlink(current.c_str(), target.data(), target.size());
    if (length < 0 || static_cast<std::size_t>(length) >= target.size()) return {};
    std::string next(target.data(), static_cast<std::size_t>(length));
    if (next.empty()) return {};
    current = next.front() == '/' ? next : DirectoryOf(current) + "/" + next;
  }
  return {};
}

bool WriteAll(int fd, std::string_view content) {
  std::size_t done = 0;
  while (done < content.size()) {
    const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

bool ReadAll(int fd, std::string& content) {
  content.clear();
  char chunk[65536];
  for (;;) {
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) return true;
    content.append(chunk, static_cast<std::size_t>(n));
  }
}

class TPosixFileSystem : public TFileSystem {
 public:
  TFileStatus Stat(const std::string& path, TFileStamp& stamp) override {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) {
      return (errno == ENOENT || errno == ENOTDIR) ? TFileStatus::Missing : TFileStatus::Failed;
    }
    if (!S_ISREG(st.st_mode)) return TFileStatus::Failed;
    stamp = StampOf(st);
    return TFileStatus::Ok;
  }

  TFileStatus ReadFile(const std::string& path, std::string& content, TFileStamp& stamp,
                       std::unique_ptr<TFilePin>& pin) override {
    // Non-blocking, so a FIFO put in the file's place cannot hang us.
    TDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.Get() < 0) {
      return (errno == ENOENT || errno == ENOTDIR) ? TFileStatus::Missing : TFileStatus::Failed;
    }
    struct stat st;
    if (::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode)) return TFileStatus::Failed;
    if (!ReadAll(fd.Get(), content)) return TFileStatus::Failed;
    stamp = StampOf(st);
    stamp.Size = static_cast<std::int64_t>(content.size());
    pin = std::make_unique<TPosixPin>(fd.Release());
    return TFileStatus::Ok;
  }

  bool ReplaceFile(const std::string& path, std::string_view content, TFileStamp& stamp,
                   std::unique_ptr<TFilePin>& pin) override {
    const std::string target = FinalTarget(path);
    if (target.empty()) return false;
    struct stat old;
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (!exists && errno != ENOENT) return false;
    if (exists) {
      // A read-only file stays read-only, also for the superuser.
      if (!S_ISREG(old.st_mode)) return false;
      if ((old.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0) return false;
    }
    // Only one writer at a time holds the file's lock, so one fixed temporary
    // name suffices and a crashed writer's leftover is simply replaced.
    const std::string dir = DirectoryOf(target);
    const std::string temp = dir + "/." + BaseNameOf(target) + TempSuffix;
    ::unlink(temp.c_str());
    TDescriptor fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                          exists ? (old.st_mode & 07777) : NewFileMode));
    if (fd.Get() < 0) return false;
    bool ok = true;
    if (exists) {
      // Owner first: changing it may clear set-id bits that fchmod restores.
      if (::fchown(fd.Get(), old.st_uid, old.st_gid) != 0) {
        // Only the superuser may give a file away; the writer then owns it.
      }
      ok = ::fchmod(fd.Get(), old.st_mode & 07777) == 0;
    }
    struct stat st;
    ok = ok && WriteAll(fd.Get(), content) && ::fsync(fd.Get()) == 0 &&
         ::fstat(fd.Get(), &st) == 0 && ::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
      ::unlink(temp.c_str());
      return false;
    }
    SyncDirectory(dir);
    stamp = StampOf(st);
    // The descriptor now holds the file that replaced the old one.
    pin = std::make_unique<TPosixPin>(fd.Release());
    return true;
  }

  std::unique_ptr<TFileLock> LockFile(const std::string& path) override {
    const std::string target = FinalTarget(path);
    if (target.empty()) return nullptr;
    const std::string lockPath = target + LockSuffix;
    TDescriptor fd(::open(lockPath.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW,
                          NewFileMode));
    if (fd.Get() < 0) return nullptr;
    while (::flock(fd.Get(), LOCK_EX) != 0) {
      if (errno != EINTR) return nullptr;
    }
    return std::make_unique<TPosixLock>(fd.Release());
  }

 private:
  // Makes the rename itself durable. The new content is already in place
  // when this fails, so a failure here is not a failed write.
  static void SyncDirectory(const std::string& dir) {
    TDescriptor fd(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.Get() >= 0) ::fsync(fd.Get());
  }
};

}  // namespace

TFileSystem& SystemFileSystem() {
  static TPosixFileSystem fs;
  return fs;
}
