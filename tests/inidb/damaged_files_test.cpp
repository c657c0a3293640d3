// Damaged and hand-edited files kept in tests/data, replayed through the
// component: each reads as the profile rules say, and no operation on any
// of them crashes, overruns or leaves a file the database cannot open.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "inidb/caller_database_config.h"
#include "inidb/profile_file.h"
#include "test_files.h"

namespace {

struct DamagedCase {
  const char* File;
  int Count;
  std::optional<std::vector<std::string>> List;  // nothing: the list read fails
  const char* Key;                               // a record that reads ...
  const char* Number;                            // ... with this number
  bool AddAllowed;
};

// Names the case by its file in test listings instead of dumping its bytes.
void PrintTo(const DamagedCase& c, std::ostream* os) { *os << c.File; }

std::string DataFile(const char* name) { return std::string(QUORVEL_TEST_DATA_DIR) + "/" + name; }

class DamagedFile : public ::testing::TestWithParam<DamagedCase> {
 protected:
  void SetUp() override {
    ClearProfileCache();
    std::filesystem::copy_file(DataFile(GetParam().File), Path);
    ApplyCallerDatabaseConfig(Db);
    Db.SetFileName(Path);
  }

  TTempDir Dir;
  std::string Path = Dir.File("Callers.DB");
  TIniDBase Db;
};

using Keys = std::vector<std::string>;

}  // namespace

TEST_P(DamagedFile, ReadsAsTheRulesSay) {
  const DamagedCase& c = GetParam();
  EXPECT_EQ(Db.GetNumRecs(), c.Count);
  if (c.List) {
    const TStringList& list = Db.GetRecordList();
    EXPECT_EQ(Keys(list.begin(), list.end()), *c.List);
  } else {
    EXPECT_THROW(Db.GetRecordList(), EIniRead);
    EXPECT_TRUE(Db.NeedRefresh());
  }
  if (c.Key != nullptr) {
    TCallerRecord record;
    Db.GetRecord(c.Key, record);
    EXPECT_EQ(record.CallerID.Get(), c.Number);
  }
}

TEST_P(DamagedFile, EveryOperationIsSafeAndTheFileStaysUsable) {
  const DamagedCase& c = GetParam();
  std::vector<std::string> keys;
  try {
    const TStringList& list = Db.GetRecordList();
    keys.assign(list.begin(), list.end());
  } catch (const ECodedException&) {
  }
  for (const std::string& key : keys) {
    TCallerRecord record;
    try {
      Db.GetRecord(key, record);
      EXPECT_LE(record.CallerID.Length, 20);
    } catch (const ERecordNotFound&) {
      // A piece of a damaged key: listed, but no record.
    }
  }
  if (c.AddAllowed) {
    Db.AddRecord(MakeCallerRecord("Newcomer", "555-0199"));
    Db.UpdRecord("Newcomer", MakeCallerRecord("Renamed", "555-0198"));
    TCallerRecord record;
    Db.GetRecord("renamed", record);
    EXPECT_EQ(record.CallerID.Get(), "555-0198");
    Db.DelRecord("Renamed");
    EXPECT_FALSE(Db.KeyExists("Renamed"));
  } else {
    EXPECT_THROW(Db.AddRecord(MakeCallerRecord("Newcomer", "1")), EDatabaseFull);
  }
  // A fresh component still opens what is left.
  ClearProfileCache();
  TIniDBase again;
  ApplyCallerDatabaseConfig(again);
  again.SetFileName(Path);
  EXPECT_EQ(again.GetNumRecs(), c.Count);
}

INSTANTIATE_TEST_SUITE_P(
    Files, DamagedFile,
    ::testing::Values(
        DamagedCase{"hand-edited.DB", 2, Keys{"Alice Brown", "bob green"}, "BOB GREEN", "unknown",
                    true},
        DamagedCase{"mixed-line-ends.DB", 3, Keys{"Ann", "Ben", "Cid"}, "Cid", "3", true},
        DamagedCase{"no-final-line-end.DB", 1, Keys{"Ann"}, "Ann", "42", true},
        DamagedCase{"duplicates.DB", 3, Keys{"Ann", "Ben"}, "ann", "first", true},
        DamagedCase{"entries-not-a-number.DB", 0, Keys{}, "Ann", "1", true},
        DamagedCase{"entries-negative.DB", -3, Keys{}, "Ann", "1", true},
        DamagedCase{"entries-huge.DB", 1661992959, Keys{"Ann", "Ben"}, "Ann", "1", false},
        DamagedCase{"entries-999-plus.DB", 2147483647, Keys{"Ann"}, nullptr, "", false},
        DamagedCase{"key-buffer-short.DB", 1,
                    Keys{"Ann", "Ben", "Cid", "Dan", "Eve", "Fay", "Gus"}, nullptr, "", true},
        DamagedCase{"nul-bytes.DB", 2, Keys{"A", "Ben", "nn"}, "Ben", "5", true},
        DamagedCase{"long-line.DB", 2, Keys{}, "Bob", "99999999999999999999", true},
        DamagedCase{"binary.DB", 1, Keys{"Ann"}, nullptr, "", true},
        DamagedCase{"no-index.DB", 4, std::nullopt, nullptr, "", true},
        DamagedCase{"empty.DB", 0, Keys{}, nullptr, "", true},
        DamagedCase{"only-blanks.DB", 0, Keys{}, nullptr, "", true}),
    [](const auto& info) {
      std::string name = info.param.File;
      name = name.substr(0, name.find('.'));
      for (char& ch : name) {
        if (ch == '-') ch = '_';
      }
      return name;
    });

TEST(DamagedFileKeys, HandEditedFileReadsQuotedValues) {
  ClearProfileCache();
  TTempDir dir;
  const std::string path = dir.File("Callers.DB");
  std::filesystem::copy_file(DataFile("hand-edited.DB"), path);
  TIniDBase db;
  ApplyCallerDatabaseConfig(db);
  db.SetFileName(path);
  TCallerRecord record;
  db.GetRecord("alice brown", record);
  EXPECT_EQ(record.CallerID.Get(), "555-0101");
}
