// The component's stored configuration and the loading rules.
#include <gtest/gtest.h>

#include "inidb/caller_database_config.h"
#include "inidb/component_stream.h"
#include "inidb/ini_dbase.h"

TEST(ComponentConfig, CallerDatabaseConfiguration) {
  TIniDBase db;
  ApplyCallerDatabaseConfig(db);
  ASSERT_EQ(db.FieldList().size(), 2u);
  EXPECT_EQ(db.FieldList()[0]->FieldName, "CallerName");
  EXPECT_EQ(db.FieldList()[0]->MaxLen, 20);
  EXPECT_TRUE(db.FieldList()[0]->IsString);
  EXPECT_EQ(db.FieldList()[1]->FieldName, "CallerID");
  EXPECT_EQ(db.IndexedField(), "CallerName");
  EXPECT_TRUE(db.SortedIndex());
  EXPECT_EQ(db.FileName(), "DATABASE.INI");
  EXPECT_FALSE(db.IsLoading());
  EXPECT_FALSE(db.Open());
}

TEST(ComponentConfig, WritesTheFieldListAsFakeProperty) {
  TIniDBase db;
  ApplyCallerDatabaseConfig(db);
  EXPECT_EQ(SaveComponentConfig(db, "DB", "TIniDBase"), CallerDatabaseConfig);
}

TEST(ComponentConfig, IntegerFieldsAndEmptyListsAreWritten) {
  TIniDBase db;
  LoadComponentConfig(db, "object X: TIniDBase\n  FakeProperty = (4 False 'Age' 9 True 'It''s')\nend");
  ASSERT_EQ(db.FieldList().size(), 2u);
  EXPECT_FALSE(db.FieldList()[0]->IsString);
  EXPECT_EQ(db.FieldList()[1]->FieldName, "It's");
  const std::string text = SaveComponentConfig(db, "X", "TIniDBase");
  EXPECT_NE(text.find("FakeProperty = (4 False 'Age' 9 True 'It''s')"), std::string::npos);

  LoadComponentConfig(db, "object X: TIniDBase\n  FakeProperty = ()\nend");
  EXPECT_TRUE(db.FieldList().empty());
  EXPECT_NE(SaveComponentConfig(db, "X", "TIniDBase").find("FakeProperty = ()"),
            std::string::npos);
}

TEST(ComponentConfig, ReadingTwiceKeepsOnlyTheSecondList) {
  TIniDBase db;
  LoadComponentConfig(db, "object X: TIniDBase\n FakeProperty = (5 True 'A' 6 True 'B')\nend");
  LoadComponentConfig(db, "object X: TIniDBase\n FakeProperty = (7 True 'C')\nend");
  ASSERT_EQ(db.FieldList().size(), 1u);
  EXPECT_EQ(db.FieldList()[0]->FieldName, "C");
  EXPECT_EQ(db.FieldList()[0]->MaxLen, 7);
}

TEST(ComponentConfig, LengthIsKeptInSixteenBits) {
  TIniDBase db;
  LoadComponentConfig(db, "object X: TIniDBase\n FakeProperty = (65556 True 'A')\nend");
  EXPECT_EQ(db.FieldList()[0]->MaxLen, 20);
}

TEST(ComponentConfig, SettersOnlyStoreWhileLoading) {
  TIniDBase db;
  LoadComponentConfig(db,
                      "object X: TIniDBase\n"
                      "  FileName = 'data.ini'#9' '\n"
                      "  IndexedField = 'NoSuchField'\n"
                      "  SortedIndex = True\n"
                      "end\n");
  EXPECT_EQ(db.FileName(), "data.ini");
  EXPECT_EQ(db.IndexedField(), "NoSuchField");
  EXPECT_TRUE(db.SortedIndex());
}

TEST(ComponentConfig, ControlCharactersAreWrittenByNumber) {
  TIniDBase db;
  db.SetFileName("a\tb'c");
  const std::string text = SaveComponentConfig(db, "X", "TIniDBase");
  EXPECT_NE(text.find("FileName = 'a'#9'b''c'"), std::string::npos);
  TIniDBase back;
  LoadComponentConfig(back, text);
  EXPECT_EQ(back.FileName(), "a\tb'c");
}

namespace {

class BadConfig : public ::testing::TestWithParam<const char*> {};

}  // namespace

TEST_P(BadConfig, IsAReadErrorAndEndsLoading) {
  TIniDBase db;
  EXPECT_THROW(LoadComponentConfig(db, GetParam()), EReadError);
  EXPECT_FALSE(db.IsLoading());
}

INSTANTIATE_TEST_SUITE_P(
    Texts, BadConfig,
    ::testing::Values("", "object", "object X TIniDBase end",
                      "object X: TIniDBase\n Unknown = 1\nend",
                      "object X: TIniDBase\n FakeProperty = (20 True\nend",
                      "object X: TIniDBase\n FakeProperty = (20 'x' 'A')\nend",
                      "object X: TIniDBase\n FileName = 'open\nend",
                      "object X: TIniDBase\n FakeProperty = (99999999999 True 'A')\nend",
                      "object X: TIniDBase\n SortedIndex = Maybe\nend",
                      "object X: TIniDBase\nend\nmore", "object X: TIniDBase\n FileName = #999\nend",
                      "object X: TIniDBase\n FileName = 'x' ! \nend"));
