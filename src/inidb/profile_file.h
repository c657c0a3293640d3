#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "inidb/file_system.h"

class TProfileDocument;

// The INI ("private profile") file operations the record store is built on.
// Files are read and written as the classic Windows profile routines do:
// CR LF line ends, first section and first key win, names compare without
// regard to ASCII case. On top of that every change is atomic, made under
// an advisory lock, and refuses text that the format cannot hold.

// The six operations, each a complete access of its own.

// Copies section/key's value (or `defaultValue`) into `buffer`, cut to
// room - 1 bytes plus a zero byte; returns the bytes copied.
std::size_t GetProfileString(const std::string& fileName, std::string_view section,
                             std::string_view key, std::string_view defaultValue, char* buffer,
                             std::size_t room);
// section/key's value read as a decimal number, or `defaultValue`.
std::int32_t GetProfileInt(const std::string& fileName, std::string_view section,
                           std::string_view key, std::int32_t defaultValue);
// The section's keys in file order, each zero-terminated, plus one more
// zero byte; cut at the buffer's end. Returns the bytes used (n - 2 when cut).
std::size_t GetProfileKeys(const std::string& fileName, std::string_view section, char* buffer,
                           std::size_t room);
// Creates file, section and entry as needed. False (file untouched) on any
// failure, including text the file cannot hold.
bool WriteProfileString(const std::string& fileName, std::string_view section,
                        std::string_view key, std::string_view value);
// Removes the entry; an absent entry or file is success.
bool DeleteProfileKey(const std::string& fileName, std::string_view section, std::string_view key);
// Removes the section with all its lines; an absent one is success.
bool DeleteProfileSection(const std::string& fileName, std::string_view section);

// What a write refuses: text that would read back as something else.
bool IsStorableSectionName(std::string_view section);
bool IsStorableKey(std::string_view key);
bool IsStorableValue(std::string_view value);

// A consistent view of a file for a run of reads: the file is checked once
// and, unless unchanged since it was last parsed, read and parsed again.
class TProfileReader {
 public:
  explicit TProfileReader(const std::string& fileName);
  ~TProfileReader();

  bool FileExists() const;
  // Identifies the content read: equal versions mean equal content. 0 when
  // the file is missing or cannot be read.
  std::uint64_t Version() const;
  // Bytes of the file as it would be written (0 when missing); never less
  // than the text of its entries.
  std::size_t ContentSize() const;

  std::size_t ReadString(std::string_view section, std::string_view key,
                         std::string_view defaultValue, char* buffer, std::size_t room) const;
  // The same, as text.
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view defaultValue, std::size_t room) const;
  // The value uncut (quotes removed), or the default; valid while the
  // reader is.
  std::string_view ReadView(std::string_view section, std::string_view key,
                            std::string_view defaultValue) const;
  std::int32_t ReadInteger(std::string_view section, std::string_view key,
                           std::int32_t defaultValue) const;
  std::size_t ReadKeys(std::string_view section, char* buffer, std::size_t room) const;
  // True when the section holds an entry `key` (with any value).
  bool HasKey(std::string_view section, std::string_view key) const;

 private:
  std::shared_ptr<const TProfileDocument> Doc;
  std::uint64_t DocVersion = 0;
};

// While it lives, readers of the file see it as it was at the first read
// (and as this process's own changes left it) without looking at the disk
// again, so a run of reads checks and parses the file at most once.
// Changes still start from the file as it is. Snapshots nest.
class TProfileSnapshot {
 public:
  explicit TProfileSnapshot(const std::string& fileName);
  ~TProfileSnapshot();
  TProfileSnapshot(const TProfileSnapshot&) = delete;
  TProfileSnapshot& operator=(const TProfileSnapshot&) = delete;

 private:
  std::string FileName;
};

// A run of reads and changes of one file made under its lock and written
// once, atomically, by Commit. Nothing reaches the file without Commit.
class TProfileTransaction {
 public:
  explicit TProfileTransaction(const std::string& fileName);
  ~TProfileTransaction();

  // False when the file could not be locked or read: every write fails.
  bool Usable() const { return IsUsable; }
  bool FileExists() const;

  std::size_t ReadString(std::string_view section, std::string_view key,
                         std::string_view defaultValue, char* buffer, std::size_t room) const;
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view defaultValue, std::size_t room) const;
  std::int32_t ReadInteger(std::string_view section, std::string_view key,
                           std::int32_t defaultValue) const;
  bool HasKey(std::string_view section, std::string_view key) const;

  bool WriteString(std::string_view section, std::string_view key, std::string_view value);
  bool DeleteKey(std::string_view section, std::string_view key);
  bool DeleteSection(std::string_view section);

  // Writes the changes, if any; false (file untouched) when that fails.
  // After a commit that wrote, the transaction takes no more changes.
  bool Commit();

 private:
  std::string FileName;
  std::unique_ptr<TFileLock> Lock;
  std::shared_ptr<TProfileDocument> Work;
  bool IsUsable = false;
  bool Existed = false;
};

// Forgets every parsed file (tests use it to measure uncached reads).
void ClearProfileCache();
