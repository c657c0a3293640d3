// Opens arbitrary bytes as the caller database file and runs the
// component's operations on it; also feeds them to the configuration reader.
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "inidb/caller_database_config.h"
#include "inidb/component_stream.h"
#include "inidb/profile_file.h"

namespace {

// A folder of our own for the run, removed when the fuzzer exits.
class TWorkFolder {
 public:
  TWorkFolder() {
    // tmpfs when there is one: the database syncs every write.
    std::string pattern = access("/dev/shm", W_OK) == 0 ? "/dev/shm/inidb-fuzz-XXXXXX"
                                                        : "/tmp/inidb-fuzz-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    Dir = pattern;
  }
  ~TWorkFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(Dir, ignored);
  }
  std::string File() const { return Dir + "/Callers.DB"; }

 private:
  std::string Dir;
};

const std::string& WorkFile() {
  static const TWorkFolder folder;
  static const std::string path = folder.File();
  return path;
}

void RunOperations(const std::string& path) {
  TIniDBase db;
  ApplyCallerDatabaseConfig(db);
  db.SetFileName(path);
  const int count = db.GetNumRecs();
  (void)count;
  std::vector<std::string> keys;
  try {
    const TStringList& list = db.GetRecordList();
    keys.assign(list.begin(), list.end());
  } catch (const ECodedException&) {
  }
  std::size_t visited = 0;
  for (const std::string& key : keys) {
    if (++visited > 16) break;
    TCallerRecord record;
    try {
      db.GetRecord(key, record);
      if (record.CallerName.Length > 20 || record.CallerID.Length > 20) std::abort();
    } catch (const ECodedException&) {
    }
    db.KeyExists(key);
  }
  try {
    db.AddRecord(MakeCallerRecord("Fuzz Caller", "555-0100"));
  } catch (const ECodedException&) {
  }
  if (!keys.empty()) {
    try {
      db.UpdRecord(keys.front(), MakeCallerRecord(keys.front() + "x", "1"));
    } catch (const ECodedException&) {
    }
    try {
      db.DelRecord(keys.back());
    } catch (const ECodedException&) {
    }
  }
  db.GetRecordList();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::string& path = WorkFile();
  ClearProfileCache();
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  try {
    RunOperations(path);
  } catch (const ECodedException&) {
    // Coded errors are the database's answer to a bad file, not a fault.
  }
  // The same bytes as a stored component configuration.
  try {
    TIniDBase db;
    LoadComponentConfig(db, bytes);
    SaveComponentConfig(db, "DB", "TIniDBase");
  } catch (const EReadError&) {
  } catch (const ECodedException&) {
  }
  // Key lists into every small buffer size.
  for (std::size_t room = 0; room < 8; ++room) {
    char buffer[8];
    const std::size_t used = GetProfileKeys(path, "Index", buffer, room);
    if (room > 0 && used >= room) std::abort();
  }
  return 0;
}
