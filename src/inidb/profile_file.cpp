#include "inidb/profile_file.h"

#include <chrono>
#include <mutex>
#include <unordered_map>
#include <utility>

#include "inidb/profile_document.h"

namespace {

// Parsed files kept while unchanged on disk. A handful suffices: the
// program uses one database file.
constexpr std::size_t MaxCachedFiles = 8;
// File times advance in coarse ticks (and on some file systems in whole
// seconds), so an edit in place of the same size made just after a read may
// leave the stamp unchanged. The stamp of a file changed this recently (or
// dated in the future) is not trusted: its bytes are read again and compared
// with those that were parsed.
constexpr std::int64_t SettleNanoseconds = 2'000'000'000;

bool ChangedRecently(const TFileStamp& stamp) {
  const std::int64_t now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                               std::chrono::system_clock::now().time_since_epoch())
                               .count();
  const std::int64_t changed = stamp.MTimeSeconds * 1'000'000'000 + stamp.MTimeNanoseconds;
  return now - changed < SettleNanoseconds;
}

// One state of a file as read: equal versions mean equal content.
struct TLoadedFile {
  TFileStatus Status = TFileStatus::Missing;
  std::shared_ptr<const TProfileDocument> Doc;
  std::uint64_t Version = 0;
};

struct TCachedFile {
  TFileStamp Stamp;
  std::string Content;  // the bytes Doc was parsed from
  std::shared_ptr<const TProfileDocument> Doc;
  std::uint64_t Version = 0;
  std::unique_ptr<TFilePin> Pin;
};

// A file read under a TProfileSnapshot: the state its readers see.
struct TPinnedFile {
  int Depth = 0;
  bool Loaded = false;
  TLoadedFile File;
};

std::mutex CacheMutex;
std::uint64_t LastVersion = 0;

std::unordered_map<std::string, TCachedFile>& Cache() {
  static std::unordered_map<std::string, TCachedFile> cache;
  return cache;
}

std::unordered_map<std::string, TPinnedFile>& Pins() {
  static std::unordered_map<std::string, TPinnedFile> pins;
  return pins;
}

// Call with CacheMutex held.
TLoadedFile Remember(const std::string& fileName, const TFileStamp& stamp, std::string content,
                     std::shared_ptr<const TProfileDocument> doc, std::unique_ptr<TFilePin> pin) {
  auto& cache = Cache();
  if (cache.size() >= MaxCachedFiles && cache.find(fileName) == cache.end()) cache.clear();
  const std::uint64_t version = ++LastVersion;
  cache[fileName] = TCachedFile{stamp, std::move(content), doc, version, std::move(pin)};
  const auto pinned = Pins().find(fileName);
  if (pinned != Pins().end()) pinned->second.File = TLoadedFile{TFileStatus::Ok, doc, version};
  return TLoadedFile{TFileStatus::Ok, std::move(doc), version};
}

void Forget(const std::string& fileName) {
  std::lock_guard<std::mutex> guard(CacheMutex);
  Cache().erase(fileName);
}

// The file as it is on disk now: the parsed copy while the file is
// unchanged, else read (and, if its bytes changed, parsed) anew.
TLoadedFile LoadFromDisk(const std::string& fileName) {
  TFileSystem& fs = CurrentFileSystem();
  TFileStamp stamp;
  const TFileStatus status = fs.Stat(fileName, stamp);
  if (status != TFileStatus::Ok) {
    Forget(fileName);
    return TLoadedFile{status, nullptr, 0};
  }
  {
    std::lock_guard<std::mutex> guard(CacheMutex);
    const auto it = Cache().find(fileName);
    if (it != Cache().end() && it->second.Stamp == stamp && !ChangedRecently(stamp)) {
      return TLoadedFile{TFileStatus::Ok, it->second.Doc, it->second.Version};
    }
  }
  std::string content;
  std::unique_ptr<TFilePin> pin;
  const TFileStatus readStatus = fs.ReadFile(fileName, content, stamp, pin);
  if (readStatus != TFileStatus::Ok) {
    Forget(fileName);
    return TLoadedFile{readStatus, nullptr, 0};
  }
  {
    std::lock_guard<std::mutex> guard(CacheMutex);
    const auto it = Cache().find(fileName);
    if (it != Cache().end() && it->second.Content == content) {
      it->second.Stamp = stamp;
      it->second.Pin = std::move(pin);
      return TLoadedFile{TFileStatus::Ok, it->second.Doc, it->second.Version};
    }
  }
  auto parsed = std::make_shared<const TProfileDocument>(content);
  std::lock_guard<std::mutex> guard(CacheMutex);
  return Remember(fileName, stamp, std::move(content), std::move(parsed), std::move(pin));
}

// The file as its readers see it: under a snapshot the state pinned there.
TLoadedFile LoadDocument(const std::string& fileName) {
  {
    std::lock_guard<std::mutex> guard(CacheMutex);
    const auto pinned = Pins().find(fileName);
    if (pinned != Pins().end() && pinned->second.Loaded) return pinned->second.File;
  }
  TLoadedFile loaded = LoadFromDisk(fileName);
  std::lock_guard<std::mutex> guard(CacheMutex);
  const auto pinned = Pins().find(fileName);
  if (pinned != Pins().end()) {
    pinned->second.File = loaded;
    pinned->second.Loaded = true;
  }
  return loaded;
}

bool HasLineBreakOrZero(std::string_view text) {
  return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

const TProfileDocument& EmptyDocument() {
  static const TProfileDocument empty;
  return empty;
}

}  // namespace

bool IsStorableSectionName(std::string_view section) {
  return !HasLineBreakOrZero(section) && section.find(']') == std::string_view::npos;
}

bool IsStorableKey(std::string_view key) {
  if (HasLineBreakOrZero(key) || key.find('=') != std::string_view::npos) return false;
  const std::string_view name = TrimProfileBlanks(key);
  return name.empty() || (name.front() != '[' && name.front() != ';');
}

bool IsStorableValue(std::string_view value) { return !HasLineBreakOrZero(value); }

void ClearProfileCache() {
  std::lock_guard<std::mutex> guard(CacheMutex);
  Cache().clear();
}

// --- TProfileSnapshot ---

TProfileSnapshot::TProfileSnapshot(const std::string& fileName) : FileName(fileName) {
  std::lock_guard<std::mutex> guard(CacheMutex);
  ++Pins()[FileName].Depth;
}

TProfileSnapshot::~TProfileSnapshot() {
  std::lock_guard<std::mutex> guard(CacheMutex);
  const auto pinned = Pins().find(FileName);
  if (pinned != Pins().end() && --pinned->second.Depth <= 0) Pins().erase(pinned);
}

// --- TProfileReader ---

TProfileReader::TProfileReader(const std::string& fileName) {
  const TLoadedFile loaded = LoadDocument(fileName);
  if (loaded.Status == TFileStatus::Ok) {
    Doc = loaded.Doc;
    DocVersion = loaded.Version;
  }
}

TProfileReader::~TProfileReader() = default;

bool TProfileReader::FileExists() const { return Doc != nullptr; }

std::uint64_t TProfileReader::Version() const { return DocVersion; }

std::size_t TProfileReader::ContentSize() const { return Doc ? Doc->ContentSize() : 0; }

std::size_t TProfileReader::ReadString(std::string_view section, std::string_view key,
                                       std::string_view defaultValue, char* buffer,
                                       std::size_t room) const {
  return (Doc ? *Doc : EmptyDocument()).ReadString(section, key, defaultValue, buffer, room);
}

std::string TProfileReader::ReadString(std::string_view section, std::string_view key,
                                       std::string_view defaultValue, std::size_t room) const {
  return (Doc ? *Doc : EmptyDocument()).ReadString(section, key, defaultValue, room);
}

std::string_view TProfileReader::ReadView(std::string_view section, std::string_view key,
                                         std::string_view defaultValue) const {
  return (Doc ? *Doc : EmptyDocument()).ReadView(section, key, defaultValue);
}

std::int32_t TProfileReader::ReadInteger(std::string_view section, std::string_view key,
                                         std::int32_t defaultValue) const {
  return (Doc ? *Doc : EmptyDocument()).ReadInteger(section, key, defaultValue);
}

std::size_t TProfileReader::ReadKeys(std::string_view section, char* buffer,
                                     std::size_t room) const {
  return (Doc ? *Doc : EmptyDocument()).ReadKeys(section, buffer, room);
}

bool TProfileReader::HasKey(std::string_view section, std::string_view key) const {
  return Doc && Doc->FindValue(section, key).has_value();
}

// --- TProfileTransaction ---

TProfileTransaction::TProfileTransaction(const std::string& fileName)
    : FileName(fileName), Work(std::make_shared<TProfileDocument>()) {
  Lock = CurrentFileSystem().LockFile(fileName);
  if (!Lock) return;
  // Changes start from the file as it is now, whatever a snapshot shows.
  const TLoadedFile current = LoadFromDisk(fileName);
  switch (current.Status) {
    case TFileStatus::Ok:
      Work = std::make_shared<TProfileDocument>(*current.Doc);
      Existed = true;
      IsUsable = true;
      break;
    case TFileStatus::Missing:
      IsUsable = true;
      break;
    case TFileStatus::Failed:
      // A file we cannot read is never overwritten.
      break;
  }
}

TProfileTransaction::~TProfileTransaction() = default;

bool TProfileTransaction::FileExists() const { return Existed; }

std::size_t TProfileTransaction::ReadString(std::string_view section, std::string_view key,
                                            std::string_view defaultValue, char* buffer,
                                            std::size_t room) const {
  return Work->ReadString(section, key, defaultValue, buffer, room);
}

std::string TProfileTransaction::ReadString(std::string_view section, std::string_view key,
                                            std::string_view defaultValue,
                                            std::size_t room) const {
  return Work->ReadString(section, key, defaultValue, room);
}

std::int32_t TProfileTransaction::ReadInteger(std::string_view section, std::string_view key,
                                              std::int32_t defaultValue) const {
  return Work->ReadInteger(section, key, defaultValue);
}

bool TProfileTransaction::HasKey(std::string_view section, std::string_view key) const {
  return Work->FindValue(section, key).has_value();
}

bool TProfileTransaction::WriteString(std::string_view section, std::string_view key,
                                      std::string_view value) {
  return IsUsable && Work->WriteString(section, key, value);
}

bool TProfileTransaction::DeleteKey(std::string_view section, std::string_view key) {
  return IsUsable && Work->DeleteKey(section, key);
}

bool TProfileTransaction::DeleteSection(std::string_view section) {
  return IsUsable && Work->DeleteSection(section);
}

bool TProfileTransaction::Commit() {
  if (!IsUsable) return false;
  if (!Work->Modified()) return true;
  TFileStamp stamp;
  std::unique_ptr<TFilePin> pin;
  std::string content = Work->Serialize();
  // A failed replacement leaves the file as it was, and the parsed copy with it.
  if (!CurrentFileSystem().ReplaceFile(FileName, content, stamp, pin)) return false;
  // What we wrote is what the file now holds: keep it parsed.
  // The cache shares the document, so it must not change any more.
  Work->ClearModified();
  std::lock_guard<std::mutex> guard(CacheMutex);
  Remember(FileName, stamp, std::move(content), Work, std::move(pin));
  Existed = true;
  IsUsable = false;
  return true;
}

// --- The six operations ---

std::size_t GetProfileString(const std::string& fileName, std::string_view section,
                             std::string_view key, std::string_view defaultValue, char* buffer,
                             std::size_t room) {
  return TProfileReader(fileName).ReadString(section, key, defaultValue, buffer, room);
}

std::int32_t GetProfileInt(const std::string& fileName, std::string_view section,
                           std::string_view key, std::int32_t defaultValue) {
  return TProfileReader(fileName).ReadInteger(section, key, defaultValue);
}

std::size_t GetProfileKeys(const std::string& fileName, std::string_view section, char* buffer,
                           std::size_t room) {
  return TProfileReader(fileName).ReadKeys(section, buffer, room);
}

bool WriteProfileString(const std::string& fileName, std::string_view section,
                        std::string_view key, std::string_view value) {
  TProfileTransaction transaction(fileName);
  return transaction.WriteString(section, key, value) && transaction.Commit();
}

namespace {

// Deleting in a missing file succeeds without creating anything, not even
// the lock file.
bool FileIsMissing(const std::string& fileName) {
  TFileStamp stamp;
  return CurrentFileSystem().Stat(fileName, stamp) == TFileStatus::Missing;
}

}  // namespace

bool DeleteProfileKey(const std::string& fileName, std::string_view section,
                      std::string_view key) {
  if (FileIsMissing(fileName)) return true;
  TProfileTransaction transaction(fileName);
  return transaction.DeleteKey(section, key) && transaction.Commit();
}

bool DeleteProfileSection(const std::string& fileName, std::string_view section) {
  if (FileIsMissing(fileName)) return true;
  TProfileTransaction transaction(fileName);
  return transaction.DeleteSection(section) && transaction.Commit();
}
