#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// Identity and version of a file on disk: a file whose stamp is unchanged
// holds the content read with that stamp.
struct TFileStamp {
  std::uint64_t Device = 0;
  std::uint64_t Inode = 0;
  std::int64_t Size = 0;
  std::int64_t MTimeSeconds = 0;
  std::int64_t MTimeNanoseconds = 0;

  friend bool operator==(const TFileStamp&, const TFileStamp&) = default;
};

// Held while a file's content is cached: keeps the file's identity (its
// inode) from being handed to a new file, so an equal stamp stays meaningful.
class TFilePin {
 public:
  virtual ~TFilePin() = default;
};

// An advisory lock shared with other processes; released on destruction.
class TFileLock {
 public:
  virtual ~TFileLock() = default;
};

enum class TFileStatus { Ok, Missing, Failed };

// Every file access of the database goes through this interface, so tests
// can make any step fail on demand.
class TFileSystem {
 public:
  virtual ~TFileSystem() = default;

  // The stamp of the file at `path` (links followed).
  virtual TFileStatus Stat(const std::string& path, TFileStamp& stamp) = 0;

  // Reads the whole file at `path` with the stamp of what was read.
  virtual TFileStatus ReadFile(const std::string& path, std::string& content, TFileStamp& stamp,
                               std::unique_ptr<TFilePin>& pin) = 0;

  // Replaces the file's content atomically: a crash leaves the old or the
  // new content. A link stays a link and its target is replaced; the
  // file's permissions are kept; a read-only file is refused. Returns false
  // with the file unchanged when anything fails.
  virtual bool ReplaceFile(const std::string& path, std::string_view content, TFileStamp& stamp,
                           std::unique_ptr<TFilePin>& pin) = 0;

  // Takes the exclusive lock that guards changes of the file at `path`
  // (a lock file beside the file's final target). Waits for other holders;
  // returns null when the lock cannot be had.
  virtual std::unique_ptr<TFileLock> LockFile(const std::string& path) = 0;
};

// The file system of the running system.
TFileSystem& SystemFileSystem();

// The file system in use (the system's unless a test replaced it).
TFileSystem& CurrentFileSystem();

// Puts `fs` in place of the current file system for the object's lifetime.
class TScopedFileSystem {
 public:
  explicit TScopedFileSystem(TFileSystem& fs);
  ~TScopedFileSystem();
  TScopedFileSystem(const TScopedFileSystem&) = delete;
  TScopedFileSystem& operator=(const TScopedFileSystem&) = delete;

 private:
  TFileSystem* Previous;
};
