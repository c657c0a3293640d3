// The record store: file layout, limits, codes and failures.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <utility>
#include <vector>

#include "inidb/db_errors.h"
#include "inidb/ini_store.h"
#include "inidb/profile_file.h"
#include "test_files.h"

namespace {

using Record = std::array<char, 42>;

Record Rec(const std::string& name, const std::string& number) {
  Record r{};
  std::memcpy(r.data(), name.data(), std::min<std::size_t>(name.size(), 20));
  std::memcpy(r.data() + 21, number.data(), std::min<std::size_t>(number.size(), 20));
  return r;
}

std::string NameOf(const Record& r) { return std::string(r.data()); }
std::string NumberOf(const Record& r) { return std::string(r.data() + 21); }

class IniStore : public ::testing::Test {
 protected:
  void SetUp() override { ClearProfileCache(); }
  void TearDown() override {
    if (Db) iDoneIniDatabase(Db);
  }
  // The caller database layout: CallerName (index) and CallerID.
  int Open(const std::string& path) {
    iInitIniDatabase(Db, path);
    EXPECT_EQ(iAddIniDBStringField(*Db, "CallerName", 20, true), 0);
    EXPECT_EQ(iAddIniDBStringField(*Db, "CallerID", 20, false), 0);
    return iPrepareIniDatabase(*Db);
  }

  TTempDir Dir;
  std::string Path = Dir.File("Callers.DB");
  PIniDatabase Db;
};

}  // namespace

TEST_F(IniStore, PrepareCreatesTheEmptyFile) {
  ASSERT_EQ(Open(Path), 0);
  EXPECT_EQ(ReadBytes(Path), "[Index]\r\n[Defaults]\r\n_Entries=0\r\n");
  EXPECT_EQ(iNumIniRecs(*Db), 0);
  EXPECT_EQ(iGetIniIndexRecSize(*Db), 1);
  std::vector<char> buffer(1);
  EXPECT_EQ(iLoadIniIndex(*Db, buffer, 1), dberr::DatabaseEmpty);
}

TEST_F(IniStore, TwoAddsGiveTheDocumentedFile) {
  ASSERT_EQ(Open(Path), 0);
  ASSERT_EQ(iAddIniRecord(*Db, Rec("Alice Brown", "555-0101")), 0);
  ASSERT_EQ(iAddIniRecord(*Db, Rec("Bob Green", "555-0102")), 0);
  EXPECT_EQ(ReadBytes(Path),
            "[Index]\r\nAlice Brown=#\r\nBob Green=#\r\n[Defaults]\r\n_Entries=2\r\n"
            "[Alice Brown]\r\nCallerID=555-0101\r\n[Bob Green]\r\nCallerID=555-0102\r\n");
  EXPECT_EQ(iNumIniRecs(*Db), 2);
}

TEST_F(IniStore, FieldLimits) {
  iInitIniDatabase(Db, Path);
  EXPECT_EQ(iAddIniDBStringField(*Db, "Key", 32, true), dberr::DataTooLarge);
  EXPECT_EQ(iAddIniDBStringField(*Db, "Key", 31, true), 0);
  EXPECT_EQ(iAddIniDBStringField(*Db, std::string(22, 'n'), 5, false), dberr::KeyTooLong);
  EXPECT_EQ(iAddIniDBStringField(*Db, std::string(21, 'n'), 5, false), 0);
  EXPECT_EQ(iAddIniDBStringField(*Db, "Huge", 65520, false), dberr::DataTooLarge);
  EXPECT_EQ(iAddIniDBStringField(*Db, "Big", 65520 - 32 - 6 - 1, false), 0);
  EXPECT_EQ(Db->RecordSize, 65520u);
  EXPECT_EQ(iAddIniDBIntField(*Db, "More"), dberr::DataTooLarge);
}

TEST_F(IniStore, PrepareNeedsFieldsAndAnIndex) {
  iInitIniDatabase(Db, Path);
  EXPECT_EQ(iPrepareIniDatabase(*Db), dberr::NoFields);
  EXPECT_EQ(iAddIniRecord(*Db, Rec("a", "1")), dberr::NoFields);
  iAddIniDBStringField(*Db, "Name", 20, false);
  EXPECT_EQ(iPrepareIniDatabase(*Db), dberr::NoIndex);
  EXPECT_EQ(iAddIniRecord(*Db, Rec("a", "1")), dberr::NotPrepared);
  EXPECT_EQ(iKeyExists(*Db, "a"), 0);
  EXPECT_FALSE(FileExists(Path));
}

TEST_F(IniStore, AddGetUpdateDelete) {
  ASSERT_EQ(Open(Path), 0);
  ASSERT_EQ(iAddIniRecord(*Db, Rec("Alice", "1")), 0);
  EXPECT_EQ(iAddIniRecord(*Db, Rec("ALICE", "2")), dberr::RecordExists);
  Record out{};
  ASSERT_EQ(iGetIniRecord(*Db, "alice", out), 0);
  EXPECT_EQ(NameOf(out), "alice");  // the key as passed
  EXPECT_EQ(NumberOf(out), "1");
  ASSERT_EQ(iUpdIniRecord(*Db, "Alice", Rec("Alice", "9")), 0);
  ASSERT_EQ(iGetIniRecord(*Db, "Alice", out), 0);
  EXPECT_EQ(NumberOf(out), "9");
  EXPECT_EQ(iDelIniRecord(*Db, "nobody"), dberr::RecordNotFound);
  EXPECT_EQ(iGetIniRecord(*Db, "nobody", out), dberr::RecordNotFound);
  EXPECT_EQ(iUpdIniRecord(*Db, "nobody", Rec("x", "1")), dberr::RecordNotFound);
  ASSERT_EQ(iDelIniRecord(*Db, "ALICE"), 0);
  EXPECT_EQ(iNumIniRecs(*Db), 0);
  EXPECT_EQ(ReadBytes(Path), "[Index]\r\n[Defaults]\r\n_Entries=0\r\n");
}

TEST_F(IniStore, UpdateWithSameKeyInOtherCaseKeepsSectionAndIndex) {
  ASSERT_EQ(Open(Path), 0);
  ASSERT_EQ(iAddIniRecord(*Db, Rec("bob", "1")), 0);
  ASSERT_EQ(iUpdIniRecord(*Db, "bob", Rec("BOB", "2")), 0);
  EXPECT_EQ(ReadBytes(Path),
            "[Index]\r\nbob=#\r\n[Defaults]\r\n_Entries=1\r\n[bob]\r\nCallerID=2\r\n");
}

TEST_F(IniStore, RenameMovesTheRecordAndRefusesAnExistingKey) {
  ASSERT_EQ(Open(Path), 0);
  ASSERT_EQ(iAddIniRecord(*Db, Rec("Ann", "1")), 0);
  ASSERT_EQ(iAddIniRecord(*Db, Rec("Ben", "2")), 0);
  const std::string before = ReadBytes(Path);
  EXPECT_EQ(iUpdIniRecord(*Db, "Ann", Rec("ben", "3")), dberr::RecordExists);
  EXPECT_EQ(ReadBytes(Path), before);
  ASSERT_EQ(iUpdIniRecord(*Db, "Ann", Rec("Cid", "3")), 0);
  EXPECT_EQ(ReadBytes(Path),
            "[Index]\r\nBen=#\r\nCid=#\r\n[Defaults]\r\n_Entries=2\r\n"
            "[Ben]\r\nCallerID=2\r\n[Cid]\r\nCallerID=3\r\n");
  EXPECT_EQ(iNumIniRecs(*Db), 2);
}

TEST_F(IniStore, EmptyFieldHasNoEntryAndHashStaysInPlace) {
  ASSERT_EQ(Open(Path), 0);
  ASSERT_EQ(iAddIniRecord(*Db, Rec("Carol", "")), 0);
  EXPECT_EQ(ReadBytes(Path), "[Index]\r\nCarol=#\r\n[Defaults]\r\n_Entries=1\r\n");
  Record out = Rec("junk", "junk");
  ASSERT_EQ(iGetIniRecord(*Db, "Carol", out), 0);
  EXPECT_EQ(NumberOf(out), "");

  WriteProfileString(Path, "Carol", "CallerID", "#");
  ASSERT_EQ(iUpdIniRecord(*Db, "Carol", Rec("Carol", "")), 0);
  EXPECT_NE(ReadBytes(Path).find("[Carol]\r\nCallerID=#\r\n"), std::string::npos);
  ASSERT_EQ(iGetIniRecord(*Db, "Carol", out), 0);
  EXPECT_EQ(NumberOf(out), "");
}

TEST_F(IniStore, DefaultsFillAbsentFields) {
  WriteBytes(Path, "[Index]\nDan=#\n[Defaults]\n_Entries=1\nCallerID=000\n");
  ASSERT_EQ(Open(Path), 0);
  Record out{};
  ASSERT_EQ(iGetIniRecord(*Db, "Dan", out), 0);
  EXPECT_EQ(NumberOf(out), "000");
}

TEST_F(IniStore, IntegerFieldsRoundTripNegatives) {
  iInitIniDatabase(Db, Path);
  iAddIniDBStringField(*Db, "Name", 10, true);
  iAddIniDBIntField(*Db, "Age");
  ASSERT_EQ(iPrepareIniDatabase(*Db), 0);
  std::array<char, 15> rec{};
  std::memcpy(rec.data(), "Eve", 3);
  const std::int32_t age = -5;
  std::memcpy(rec.data() + 11, &age, 4);
  ASSERT_EQ(iAddIniRecord(*Db, rec), 0);
  EXPECT_NE(ReadBytes(Path).find("[Eve]\r\nAge=-5\r\n"), std::string::npos);
  std::array<char, 15> out{};
  ASSERT_EQ(iGetIniRecord(*Db, "Eve", out), 0);
  std::int32_t back = 0;
  std::memcpy(&back, out.data() + 11, 4);
  EXPECT_EQ(back, -5);
}

TEST_F(IniStore, MissingEntriesCountReadsAsZero) {
  WriteBytes(Path, "[Index]\nA=#\nB=#\n");
  ASSERT_EQ(Open(Path), 0);
  EXPECT_EQ(iNumIniRecs(*Db), 0);
  EXPECT_EQ(iKeyExists(*Db, "A"), 1);
  EXPECT_EQ(ReadBytes(Path), "[Index]\nA=#\nB=#\n");  // opening never writes
}

TEST_F(IniStore, OnlyTheExactMarkMeansPresent) {
  WriteBytes(Path, "[Index]\nA=#\nB=yes\nC=##\nD=\"#\"\n[Defaults]\n_Entries=4\n");
  ASSERT_EQ(Open(Path), 0);
  EXPECT_EQ(iKeyExists(*Db, "a"), 1);
  EXPECT_EQ(iKeyExists(*Db, "B"), 0);
  EXPECT_EQ(iKeyExists(*Db, "C"), 0);
  EXPECT_EQ(iKeyExists(*Db, "D"), 1);
}

TEST_F(IniStore, ThousandthRecordIsRefusedAndFileUnchanged) {
  std::string content = "[Index]\r\n";
  for (int i = 0; i < 999; ++i) content += "K" + std::to_string(i) + "=#\r\n";
  content += "[Defaults]\r\n_Entries=999\r\n";
  WriteBytes(Path, content);
  ASSERT_EQ(Open(Path), 0);
  EXPECT_EQ(iAddIniRecord(*Db, Rec("One more", "1")), dberr::DatabaseFull);
  EXPECT_EQ(ReadBytes(Path), content);
  EXPECT_EQ(iGetIniIndexRecSize(*Db), 999 * 31 + 1);
}

TEST_F(IniStore, KeyBufferLoadsKeysAndDropsAKeyCutShort) {
  WriteBytes(Path, "[Index]\nAnn=#\nBernadette Longname-Smithsonian=#\n[Defaults]\n_Entries=1\n");
  ASSERT_EQ(Open(Path), 0);
  std::vector<char> buffer;
  int size = 0;
  ASSERT_EQ(iAllocIniIndexRec(*Db, buffer, size), 0);
  EXPECT_EQ(size, 32);
  ASSERT_EQ(iLoadIniIndex(*Db, buffer, size), 0);
  EXPECT_STREQ(buffer.data(), "Ann");
  EXPECT_EQ(buffer[4], '\0');  // "Bernadette Lon..." was cut: left out
  iDeallocIniIndexRec(*Db, buffer, size);
  EXPECT_TRUE(buffer.empty());
}

TEST_F(IniStore, CountedRecordsWithoutIndexKeysIsAReadError) {
  WriteBytes(Path, "[Index]\n[Defaults]\n_Entries=3\n");
  ASSERT_EQ(Open(Path), 0);
  std::vector<char> buffer;
  int size = 0;
  ASSERT_EQ(iAllocIniIndexRec(*Db, buffer, size), 0);
  EXPECT_EQ(iLoadIniIndex(*Db, buffer, size), dberr::IniRead);
}

TEST_F(IniStore, HugeOrNegativeCountsAllocateNoMoreThanTheFile) {
  WriteBytes(Path, "[Index]\nA=#\n[Defaults]\n_Entries=2000000000\n");
  ASSERT_EQ(Open(Path), 0);
  std::vector<char> buffer;
  int size = 0;
  ASSERT_EQ(iAllocIniIndexRec(*Db, buffer, size), 0);
  EXPECT_LE(buffer.size(), 64u);
  ASSERT_EQ(iLoadIniIndex(*Db, buffer, size), 0);
  EXPECT_STREQ(buffer.data(), "A");
  iDoneIniDatabase(Db);

  ClearProfileCache();
  WriteBytes(Path, "[Index]\nA=#\n[Defaults]\n_Entries=-4\n");
  ASSERT_EQ(Open(Path), 0);
  EXPECT_EQ(iNumIniRecs(*Db), -4);
  EXPECT_EQ(iAllocIniIndexRec(*Db, buffer, size), dberr::DatabaseEmpty);
}

TEST_F(IniStore, HandEditedLongKeyNeverOverrunsTheIndexField) {
  const std::string longKey(40, 'L');
  WriteBytes(Path, "[Index]\n" + longKey + "=#\n[" + longKey + "]\nCallerID=7\n[Defaults]\n_Entries=1\n");
  ASSERT_EQ(Open(Path), 0);
  Record out;
  out.fill('\x7f');
  ASSERT_EQ(iGetIniRecord(*Db, longKey, out), 0);
  EXPECT_EQ(NameOf(out), std::string(20, 'L'));
  EXPECT_EQ(NumberOf(out), "7");
}

TEST_F(IniStore, LongStoredValueIsCutToTheFieldWithoutSplittingCharacters) {
  WriteBytes(Path, "[Index]\nA=#\n[A]\nCallerID=" + std::string(19, '9') +
                       "\xC3\xA9tail\n[Defaults]\n_Entries=1\n");
  ASSERT_EQ(Open(Path), 0);
  Record out;
  out.fill('\x7f');
  ASSERT_EQ(iGetIniRecord(*Db, "A", out), 0);
  EXPECT_EQ(NumberOf(out), std::string(19, '9'));
}

TEST_F(IniStore, UnstorableKeysAndValuesAreWriteErrorsWithFileUnchanged) {
  ASSERT_EQ(Open(Path), 0);
  ASSERT_EQ(iAddIniRecord(*Db, Rec("Keep", "1")), 0);
  const std::string before = ReadBytes(Path);
  // Keys and values that would read back as something else.
  for (const std::string key : {"a=b", "[x", ";x", "x]", "", "  ", " Bob", "Bob "}) {
    EXPECT_EQ(iAddIniRecord(*Db, Rec(key, "1")), dberr::IniWrite) << key;
  }
  for (const std::string value : {"1\r\n[Keep]", "\"555\"", "'555'", " 555", "555 ", "#"}) {
    EXPECT_EQ(iAddIniRecord(*Db, Rec("Eve", value)), dberr::IniWrite) << value;
    EXPECT_EQ(iUpdIniRecord(*Db, "Keep", Rec("Keep", value)), dberr::IniWrite) << value;
  }
  EXPECT_EQ(iUpdIniRecord(*Db, "Keep", Rec("Keep", "2\n")), dberr::IniWrite);
  EXPECT_EQ(iUpdIniRecord(*Db, "Keep", Rec("K=p", "2")), dberr::IniWrite);
  EXPECT_EQ(ReadBytes(Path), before);
  EXPECT_EQ(iNumIniRecs(*Db), 1);
}

TEST_F(IniStore, NamesDifferingOnlyInLetterCaseAreOneKey) {
  ASSERT_EQ(Open(Path), 0);
  for (const auto& [first, second] : std::vector<std::pair<std::string, std::string>>{
           {"\xC3\x89mile", "\xC3\xA9MILE"},        // Émile, éMILE
           {"\xCE\xA9mega", "\xCF\x89MEGA"},        // Ωmega, ωMEGA
           {"kelvin", "\xE2\x84\xAA" "elvin"}}) {    // Kelvin sign
    ASSERT_EQ(iAddIniRecord(*Db, Rec(first, "1")), 0) << first;
    const std::string before = ReadBytes(Path);
    EXPECT_EQ(iAddIniRecord(*Db, Rec(second, "2")), dberr::RecordExists) << second;
    EXPECT_EQ(ReadBytes(Path), before);
    Record out{};
    ASSERT_EQ(iGetIniRecord(*Db, second, out), 0) << second;
    EXPECT_EQ(NumberOf(out), "1");
  }
}

TEST_F(IniStore, CountFollowsChangesMadeByAnotherHandle) {
  ASSERT_EQ(Open(Path), 0);
  PIniDatabase other;
  iInitIniDatabase(other, Path);
  iAddIniDBStringField(*other, "CallerName", 20, true);
  iAddIniDBStringField(*other, "CallerID", 20, false);
  ASSERT_EQ(iPrepareIniDatabase(*other), 0);
  ASSERT_EQ(iAddIniRecord(*other, Rec("One", "1")), 0);
  ASSERT_EQ(iAddIniRecord(*Db, Rec("Two", "2")), 0);
  EXPECT_EQ(GetProfileInt(Path, "Defaults", "_Entries", -1), 2);
  EXPECT_EQ(iKeyExists(*Db, "One"), 1);
  iDoneIniDatabase(other);
}

// A record is its own section: a key naming one of the store's own sections
// would write its fields into that section, and deleting it would wipe it.
TEST_F(IniStore, KeysNamingTheStoresOwnSectionsAreRefused) {
  ASSERT_EQ(Open(Path), 0);
  ASSERT_EQ(iAddIniRecord(*Db, Rec("Keep", "1")), 0);
  const std::string before = ReadBytes(Path);
  for (const std::string key : {"Index", "DEFAULTS", " index "}) {
    EXPECT_EQ(iAddIniRecord(*Db, Rec(key, "2")), dberr::IniWrite) << key;
    EXPECT_EQ(iUpdIniRecord(*Db, "Keep", Rec(key, "2")), dberr::IniWrite) << key;
  }
  EXPECT_EQ(ReadBytes(Path), before);
  EXPECT_EQ(iNumIniRecs(*Db), 1);
}

TEST_F(IniStore, HandWrittenKeysNamingTheStoresSectionsLeaveThemWhole) {
  WriteBytes(Path,
             "[Index]\r\nKeep=#\r\nIndex=#\r\nDefaults=#\r\n[Defaults]\r\n_Entries=3\r\n"
             "CallerID=none\r\n[Keep]\r\nCallerID=1\r\n");
  ASSERT_EQ(Open(Path), 0);
  // Their fields would be another section's entries: not rewritten.
  EXPECT_EQ(iUpdIniRecord(*Db, "Defaults", Rec("Defaults", "2")), dberr::IniWrite);
  // Deleting takes the record's entry out of "Index", and nothing else.
  EXPECT_EQ(iDelIniRecord(*Db, "Index"), 0);
  EXPECT_EQ(iDelIniRecord(*Db, "defaults"), 0);
  EXPECT_EQ(ReadBytes(Path),
            "[Index]\r\nKeep=#\r\n[Defaults]\r\n_Entries=1\r\n"
            "CallerID=none\r\n[Keep]\r\nCallerID=1\r\n");
}
