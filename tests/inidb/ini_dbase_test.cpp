// The database component: lifecycle, key list, records and errors.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <random>

#include "inidb/caller_database_config.h"
#include "inidb/ini_dbase.h"
#include "inidb/profile_file.h"
#include "test_files.h"

namespace {

const char ExampleFile[] =
    "[Index]\r\nAlice Brown=#\r\nBob Green=#\r\n[Defaults]\r\n_Entries=2\r\n"
    "[Alice Brown]\r\nCallerID=555-0101\r\n[Bob Green]\r\nCallerID=555-0102\r\n";

class IniDBase : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearProfileCache();
    ApplyCallerDatabaseConfig(Db);
    Db.SetFileName(Path);
  }
  std::vector<std::string> List() {
    const TStringList& list = Db.GetRecordList();
    return std::vector<std::string>(list.begin(), list.end());
  }

  TTempDir Dir;
  std::string Path = Dir.File("Callers.DB");
  TIniDBase Db;
};

template <class E>
int CodeOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const E& e) {
    return e.ErrorCode;
  }
  return 0;
}

}  // namespace

TEST(IniDBaseDefaults, NewComponentHasOneDefaultFieldAndIsClosed) {
  TIniDBase db;
  EXPECT_EQ(db.FileName(), "DATABASE.INI");
  ASSERT_EQ(db.FieldList().size(), 1u);
  EXPECT_EQ(db.FieldList()[0]->FieldName, "Default");
  EXPECT_EQ(db.FieldList()[0]->MaxLen, 20);
  EXPECT_TRUE(db.FieldList()[0]->IsString);
  EXPECT_EQ(db.IndexedField(), "Default");
  EXPECT_FALSE(db.SortedIndex());
  EXPECT_FALSE(db.Open());
  EXPECT_TRUE(db.NeedRefresh());
}

TEST_F(IniDBase, FirstUseCreatesTheFileAndGivesAnEmptyList) {
  EXPECT_FALSE(FileExists(Path));
  EXPECT_TRUE(List().empty());
  EXPECT_TRUE(Db.Open());
  EXPECT_EQ(ReadBytes(Path), "[Index]\r\n[Defaults]\r\n_Entries=0\r\n");
}

TEST_F(IniDBase, ExampleFileRoundTrip) {
  Db.AddRecord(MakeCallerRecord("Alice Brown", "555-0101"));
  Db.AddRecord(MakeCallerRecord("Bob Green", "555-0102"));
  EXPECT_EQ(ReadBytes(Path), ExampleFile);
  EXPECT_EQ(Db.GetNumRecs(), 2);
}

TEST_F(IniDBase, GetRecordReturnsTheKeyAsPassedAndAFailedGetNothing) {
  WriteBytes(Path, ExampleFile);
  TCallerRecord record;
  Db.GetRecord("ALICE BROWN", record);
  EXPECT_EQ(record.CallerName.Get(), "ALICE BROWN");
  EXPECT_EQ(record.CallerID.Get(), "555-0101");
  record = MakeCallerRecord("keep", "me");
  EXPECT_EQ(CodeOf<ERecordNotFound>([&] { Db.GetRecord("Nobody", record); }), -7008);
  EXPECT_EQ(record.CallerName.Get(), "keep");
  EXPECT_EQ(record.CallerID.Get(), "me");
}

TEST_F(IniDBase, SortedListIgnoresCaseAndDropsEquals) {
  Db.AddRecord(MakeCallerRecord("bob", "1"));
  Db.AddRecord(MakeCallerRecord("Alice", "2"));
  Db.AddRecord(MakeCallerRecord("Carl", "3"));
  EXPECT_EQ(List(), (std::vector<std::string>{"Alice", "bob", "Carl"}));
  Db.SetSortedIndex(false);
  EXPECT_EQ(List(), (std::vector<std::string>{"bob", "Alice", "Carl"}));
}

TEST_F(IniDBase, DuplicateKeysInTheFileAppearOnce) {
  WriteBytes(Path, "[Index]\nAnn=#\nann=#\nZed=#\n[Defaults]\n_Entries=3\n");
  EXPECT_EQ(List(), (std::vector<std::string>{"Ann", "Zed"}));
  EXPECT_EQ(Db.GetNumRecs(), 3);
}

TEST_F(IniDBase, RecordListIsKeptUntilTheFileChanges) {
  Db.AddRecord(MakeCallerRecord("Ann", "1"));
  const TStringList* first = &Db.GetRecordList();
  EXPECT_FALSE(Db.NeedRefresh());
  EXPECT_EQ(&Db.GetRecordList(), first);
  // Other programs' changes are counted and listed at the next look.
  WriteBytes(Path, "[Index]\r\nAnn=#\r\nBen=#\r\n[Defaults]\r\n_Entries=2\r\n");
  EXPECT_EQ(Db.GetNumRecs(), 2);
  EXPECT_EQ(List(), (std::vector<std::string>{"Ann", "Ben"}));
  WriteBytes(Path, "[Index]\r\nBen=#\r\n[Defaults]\r\n_Entries=1\r\n");
  EXPECT_EQ(List(), (std::vector<std::string>{"Ben"}));
  std::filesystem::remove(Path);
  EXPECT_EQ(Db.GetNumRecs(), 0);
  EXPECT_EQ(List(), (std::vector<std::string>{}));
  // The next change creates the file again.
  Db.AddRecord(MakeCallerRecord("Cid", "3"));
  EXPECT_EQ(List(), (std::vector<std::string>{"Cid"}));
  EXPECT_EQ(Db.GetNumRecs(), 1);
}

TEST_F(IniDBase, FailedOperationsKeepNeedRefresh) {
  Db.AddRecord(MakeCallerRecord("Ann", "1"));
  Db.GetRecordList();
  EXPECT_EQ(CodeOf<ERecordExists>([&] { Db.AddRecord(MakeCallerRecord("ANN", "2")); }), -7007);
  EXPECT_FALSE(Db.NeedRefresh());
  EXPECT_EQ(CodeOf<ERecordNotFound>([&] { Db.DelRecord("Ben"); }), -7008);
  EXPECT_EQ(CodeOf<ERecordNotFound>([&] {
              Db.UpdRecord("Ben", MakeCallerRecord("Ben", "1"));
            }),
            -7008);
  EXPECT_FALSE(Db.NeedRefresh());
}

TEST_F(IniDBase, CarolWithoutNumberHasNoSection) {
  Db.AddRecord(MakeCallerRecord("Carol", ""));
  EXPECT_EQ(ReadBytes(Path), "[Index]\r\nCarol=#\r\n[Defaults]\r\n_Entries=1\r\n");
  TCallerRecord record = MakeCallerRecord("x", "x");
  Db.GetRecord("Carol", record);
  EXPECT_EQ(record.CallerID.Get(), "");
  EXPECT_TRUE(Db.KeyExists("carol"));
  EXPECT_FALSE(Db.KeyExists("Carl"));
}

TEST_F(IniDBase, UpdateAndDeleteRefreshTheList) {
  Db.AddRecord(MakeCallerRecord("Ann", "1"));
  Db.UpdRecord("Ann", MakeCallerRecord("Anna", "2"));
  EXPECT_EQ(List(), (std::vector<std::string>{"Anna"}));
  Db.DelRecord("anna");
  EXPECT_TRUE(List().empty());
  EXPECT_EQ(Db.GetNumRecs(), 0);
}

TEST_F(IniDBase, KeysAreCutToThirtyOneAndNamesToTwenty) {
  const std::string longName(40, 'n');
  Db.AddRecord(MakeCallerRecord(longName, "1"));
  EXPECT_TRUE(Db.KeyExists(longName.substr(0, 20)));
  // Keys are cut to 31 bytes, so the full name does not find the record.
  EXPECT_FALSE(Db.KeyExists(longName));
  TCallerRecord record;
  Db.GetRecord(longName.substr(0, 20), record);
  EXPECT_EQ(record.CallerName.Get(), std::string(20, 'n'));
}

TEST_F(IniDBase, FileNameOfBlanksChangesNothing) {
  Db.SetFileName("   \t ");
  EXPECT_EQ(Db.FileName(), Path);
  Db.SetFileName(Path + "  \n");
  EXPECT_EQ(Db.FileName(), Path);
}

TEST_F(IniDBase, NewFileNameReopensAnOpenDatabase) {
  Db.AddRecord(MakeCallerRecord("Ann", "1"));
  const std::string other = Dir.File("Other.DB");
  Db.SetFileName(other);
  EXPECT_TRUE(Db.Open());
  EXPECT_TRUE(FileExists(other));
  EXPECT_TRUE(List().empty());
}

TEST_F(IniDBase, OpenFailureLeavesItClosedAndRetriesNextTime) {
  WriteBytes(Dir.File("plain"), "x");
  Db.SetFileName(Dir.File("plain/Callers.DB"));
  EXPECT_EQ(CodeOf<EIniWrite>([&] { Db.GetRecordList(); }), -7004);
  EXPECT_FALSE(Db.Open());
  Db.SetFileName(Path);
  EXPECT_TRUE(List().empty());
  EXPECT_TRUE(Db.Open());
}

TEST_F(IniDBase, IndexedFieldMustBeAShortStringField) {
  EXPECT_EQ(CodeOf<EBadFieldForIndex>([&] { Db.SetIndexedField("Nothing"); }), -7014);
  EXPECT_EQ(Db.IndexedField(), "CallerName");
  Db.SetIndexedField("callerid");
  EXPECT_EQ(Db.IndexedField(), "callerid");
}

TEST_F(IniDBase, FieldListNeedsAShortStringField) {
  TDBFieldInfo number("Age"), longText("Text", 40);
  EXPECT_EQ(CodeOf<EBadFieldList>([&] { Db.SetFieldList({}); }), -7013);
  EXPECT_EQ(CodeOf<EBadFieldList>([&] { Db.SetFieldList({&number, &longText}); }), -7013);
  EXPECT_EQ(Db.FieldList().size(), 2u);
}

TEST_F(IniDBase, FieldListWithLongFirstStringKeepsListButNotIndex) {
  Db.GetRecordList();
  TDBFieldInfo longText("Text", 40), key("Key", 10);
  EXPECT_EQ(CodeOf<EBadFieldForIndex>([&] { Db.SetFieldList({&longText, &key}); }), -7014);
  ASSERT_EQ(Db.FieldList().size(), 2u);
  EXPECT_EQ(Db.FieldList()[0]->FieldName, "Text");
  EXPECT_NE(Db.FieldList()[0], &longText);  // copies, never the caller's objects
  EXPECT_EQ(Db.IndexedField(), "CallerName");
  EXPECT_FALSE(Db.Open());
}

TEST_F(IniDBase, FieldListMakesTheFirstStringTheIndexAndReopens) {
  Db.GetRecordList();
  TDBFieldInfo age("Age"), name("Name", 10);
  Db.SetFieldList({&age, &name});
  EXPECT_EQ(Db.IndexedField(), "Name");
  EXPECT_TRUE(Db.Open());
  Db.SetFieldList(Db.FieldList());  // its own list
  EXPECT_EQ(Db.FieldList().size(), 2u);
}

TEST_F(IniDBase, NoIndexFieldOnOpenIsInternalError) {
  TIniDBase db;
  db.SetFileName(Path);
  db.BeginLoading();
  db.SetIndexedField("Missing");  // stored without checking while loading
  db.Loaded();
  try {
    db.GetNumRecs();
    FAIL();
  } catch (const EInternal& e) {
    EXPECT_EQ(e.ErrorCode, -7006);
    EXPECT_STREQ(e.what(), "No index defined for database");
  }
  EXPECT_FALSE(db.Open());
}

TEST_F(IniDBase, RecordSmallerThanTheFieldListIsRefused) {
  struct Small {
    char bytes[10];
  } small{};
  EXPECT_EQ(CodeOf<EDataTooLarge>([&] { Db.AddRecord(small); }), -7002);
  EXPECT_EQ(CodeOf<EDataTooLarge>([&] { Db.GetRecord("x", small); }), -7002);
}

TEST_F(IniDBase, OverlongFileNameIsRefusedAndNoOtherFileIsOpened) {
  // A deep folder with non-ASCII names: the path passes 255 bytes, and cut
  // it would name another file in that folder.
  const std::string folder = Dir.Path() + "/" + std::string(60 * 2, 'a') + "/" +
                             [] { std::string s; for (int i = 0; i < 60; ++i) s += "\xC3\xA9"; return s; }();
  std::filesystem::create_directories(folder);
  const std::string path = folder + "/Callers.DB";
  ASSERT_GT(path.size(), 255u);
  Db.SetFileName(path);
  EXPECT_EQ(Db.FileName(), path);
  for (int attempt = 0; attempt < 2; ++attempt) {
    try {
      Db.GetRecordList();
      FAIL() << "opened " << path;
    } catch (const EIniWrite& e) {
      EXPECT_EQ(e.ErrorCode, -7004);
      EXPECT_NE(std::string(e.what()).find("longer than 255 bytes"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(Db.Open());
  }
  EXPECT_EQ(ListFolder(folder), "");
}

TEST_F(IniDBase, EveryValueAnAddAcceptsReadsBackExactly) {
  // Names and numbers built from pieces the file treats specially.
  const std::vector<std::string> pieces = {"a",  "Z",  "0", "-",  " ",  "\"", "'", "#",
                                           "=",  "[",  "]", ";",  "\t", "x y", "k",
                                           "\xC3\x89", "\xC3\xA9", "\xE2\x84\xAA"};
  std::mt19937 random(20261208);
  const auto text = [&] {
    std::string t;
    for (int n = static_cast<int>(random() % 6); n > 0; --n) t += pieces[random() % pieces.size()];
    return t;
  };
  std::vector<TCallerRecord> accepted;
  int refused = 0;
  for (int i = 0; i < 300; ++i) {
    const TCallerRecord record = MakeCallerRecord(text(), text());
    const std::string before = ReadBytes(Path);
    try {
      Db.AddRecord(record);
      accepted.push_back(record);
    } catch (const ECodedException& e) {
      ++refused;
      EXPECT_TRUE(e.ErrorCode == -7004 || e.ErrorCode == -7007) << e.ErrorCode;
      if (e.ErrorCode == -7007) {
        EXPECT_TRUE(Db.KeyExists(record.CallerName.Get()));
      }
      EXPECT_EQ(ReadBytes(Path), before);
    }
  }
  ASSERT_GT(accepted.size(), 50u);
  ASSERT_GT(refused, 50);
  // Read anew from the file: every accepted caller, exactly, and no other.
  ClearProfileCache();
  TIniDBase fresh;
  ApplyCallerDatabaseConfig(fresh);
  fresh.SetFileName(Path);
  const TStringList& list = fresh.GetRecordList();
  EXPECT_EQ(fresh.GetNumRecs(), static_cast<int>(accepted.size()));
  EXPECT_EQ(list.size(), accepted.size());
  for (const TCallerRecord& record : accepted) {
    const std::string name = record.CallerName.Get();
    const int at = list.IndexOf(name);
    ASSERT_GE(at, 0) << name;
    EXPECT_EQ(list[static_cast<std::size_t>(at)], name);
    TCallerRecord read;
    fresh.GetRecord(name, read);
    EXPECT_EQ(read.CallerID.Get(), record.CallerID.Get()) << name;
  }
}

TEST_F(IniDBase, SortedAddOfManyKeysIsInCollationOrder) {
  for (const char* name : {"delta", "Alpha", "charlie", "Bravo", "echo"}) {
    Db.AddRecord(MakeCallerRecord(name, "1"));
  }
  EXPECT_EQ(List(), (std::vector<std::string>{"Alpha", "Bravo", "charlie", "delta", "echo"}));
}

TEST(KeyCollation, NonAsciiLettersFoldInAUtf8Locale) {
  const std::string previous = std::setlocale(LC_ALL, nullptr);
  if (std::setlocale(LC_ALL, "C.UTF-8") == nullptr) GTEST_SKIP() << "no C.UTF-8 locale";
  TStringList list;
  list.SetSorted(true);
  EXPECT_TRUE(list.Add("\xC3\x89lan"));    // Élan
  EXPECT_FALSE(list.Add("\xC3\xA9LAN"));   // élan: equal without regard to case
  EXPECT_TRUE(list.Add("abc"));
  EXPECT_EQ(list.IndexOf("\xC3\xA9lan"), 1);
  EXPECT_EQ(list[0], "abc");
  std::setlocale(LC_ALL, previous.c_str());
}

TEST(KeyCollation, FollowsTheUserLocaleNotByteOrder) {
  // A German locale built for the test: "Äpfel" belongs beside "apfel",
  // where byte order would put it after "Zebra".
  TTempDir locales;
  const std::string command = "localedef -i de_DE -f UTF-8 " + locales.File("de_DE.UTF-8") +
                              " > /dev/null 2>&1";
  if (std::system(command.c_str()) != 0) GTEST_SKIP() << "localedef cannot build de_DE";
  const std::string previous = std::setlocale(LC_ALL, nullptr);
  ::setenv("LOCPATH", locales.Path().c_str(), 1);
  const bool german = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
  ::unsetenv("LOCPATH");
  if (!german) GTEST_SKIP() << "de_DE.UTF-8 not usable";
  TStringList list;
  list.SetSorted(true);
  for (const char* key : {"Zebra", "\xC3\x84pfel", "Birne", "apfel", "APFEL"}) list.Add(key);
  std::setlocale(LC_ALL, previous.c_str());
  EXPECT_EQ(list.Strings(),
            (std::vector<std::string>{"apfel", "\xC3\x84pfel", "Birne", "Zebra"}));
}

TEST(KeyCollation, SwitchingSortingOnSortsAndDropsEquals) {
  TStringList list;
  list.Add("b");
  list.Add("A");
  list.Add("a");
  list.SetSorted(true);
  EXPECT_EQ(list.Strings(), (std::vector<std::string>{"A", "b"}));
}

TEST_F(IniDBase, AddingSeveralRecordsStoresAllOrNone) {
  const std::vector<TCallerRecord> both = {MakeCallerRecord("Carol", "555-0103"),
                                           MakeCallerRecord("Dave", "555-0104")};
  Db.AddRecords(std::span<const TCallerRecord>(both));
  EXPECT_EQ(List(), (std::vector<std::string>{"Carol", "Dave"}));
  const std::string before = ReadBytes(Path);

  // Eve is new, but Dave is stored: neither is added.
  const std::vector<TCallerRecord> clash = {MakeCallerRecord("Eve", "555-0105"),
                                            MakeCallerRecord("dave", "555-0106")};
  EXPECT_EQ(CodeOf<ERecordExists>([&] { Db.AddRecords(std::span<const TCallerRecord>(clash)); }),
            -7007);
  EXPECT_EQ(ReadBytes(Path), before);
  EXPECT_EQ(Db.GetNumRecs(), 2);
}
