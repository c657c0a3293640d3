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
// leave the stamp unchanged. A file read this soon after its last change is
// not kept parsed: it is read again until it has been still for this long.
constexpr std::int64_t SettleNanoseconds = 2'000'000'000;

bool ChangedRecently(const TFileStamp& stamp) {
  const std::int64_t now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                               std::chrono::system_clock::now().time_since_epoch())
                               .count();
  const std::int64_t changed = stamp.MTimeSeconds * 1'000'000'000 + stamp.MTimeNanoseconds;
  return now - changed < SettleNanoseconds;
}

struct TCachedFile {
  TFileStamp Stamp;
  std::shared_ptr<const TProfileDocument> Doc;
  std::unique_ptr<TFilePin> Pin;
};

std::mutex CacheMutex;
std::unordered_map<std::string, TCachedFile>& Cache() {
  static std::unordered_map<std::string, TCachedFile> cache;
  return cache;
}

void Remember(const std::string& fileName, const TFileStamp& stamp,
              std::shared_ptr<const TProfileDocument> doc, std::unique_ptr<TFilePin> pin) {
  std::lock_guard<std::mutex> guard(CacheMutex);
  auto& cache = Cache();
  if (cache.size() >= MaxCachedFiles && cache.find(fileName) == cache.end()) cache.clear();
  cache[fileName] = TCachedFile{stamp, std::move(doc), std::move(pin)};
}

void Forget(const std::string& fileName) {
  std::lock_guard<std::mutex> guard(CacheMutex);
  Cache().erase(fileName);
}

// The parsed content of `fileName`: from the cache while the file is
// unchanged, else read and parsed anew.
TFileStatus LoadDocument(const std::string& fileName,
                         std::shared_ptr<const TProfileDocument>& doc) {
  TFileSystem& fs = CurrentFileSystem();
  TFileStamp stamp;
  const TFileStatus status = fs.Stat(fileName, stamp);
  if (status != TFileStatus::Ok) {
    Forget(fileName);
    return status;
  }
  {
    std::lock_guard<std::mutex> guard(CacheMutex);
    const auto it = Cache().find(fileName);
    if (it != Cache().end() && it->second.Stamp == stamp) {
      doc = it->second.Doc;
      return TFileStatus::Ok;
    }
  }
  std::string content;
  std::unique_ptr<TFilePin> pin;
  const TFileStatus readStatus = fs.ReadFile(fileName, content, stamp, pin);
  if (readStatus != TFileStatus::Ok) {
    Forget(fileName);
    return readStatus;
  }
  auto parsed = std::make_shared<const TProfileDocument>(content);
  if (ChangedRecently(stamp)) {
    Forget(fileName);
  } else {
    Remember(fileName, stamp, parsed, std::move(pin));
  }
  doc = std::move(parsed);
  return TFileStatus::Ok;
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

// --- TProfileReader ---

TProfileReader::TProfileReader(const std::string& fileName) {
  if (LoadDocument(fileName, Doc) != TFileStatus::Ok) Doc.reset();
}

TProfileReader::~TProfileReader() = default;

bool TProfileReader::FileExists() const { return Doc != nullptr; }

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
  std::shared_ptr<const TProfileDocument> current;
  switch (LoadDocument(fileName, current)) {
    case TFileStatus::Ok:
      Work = std::make_shared<TProfileDocument>(*current);
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
  if (!CurrentFileSystem().ReplaceFile(FileName, Work->Serialize(), stamp, pin)) {
    Forget(FileName);
    return false;
  }
  // What we wrote is what the file now holds: keep it parsed.
  // The cache shares the document, so it must not change any more.
  Work->ClearModified();
  Remember(FileName, stamp, Work, std::move(pin));
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
