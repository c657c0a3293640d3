// Result codes, their exception classes and messages.
#include <gtest/gtest.h>

#include <functional>
#include <typeinfo>

#include "inidb/base_component.h"
#include "inidb/db_errors.h"

namespace {

struct CodeCase {
  int Code;
  const char* Message;
  std::function<bool(const ECodedException&)> IsClass;
  bool IsDatabaseError;
};

template <class T>
std::function<bool(const ECodedException&)> Is() {
  return [](const ECodedException& e) { return typeid(e) == typeid(T); };
}

class CodeTable : public ::testing::TestWithParam<CodeCase> {};

}  // namespace

TEST_P(CodeTable, RaisesItsClassWithCodeAndMessage) {
  const CodeCase& c = GetParam();
  try {
    CheckException(nullptr, c.Code);
    FAIL() << "nothing raised";
  } catch (const ECodedException& e) {
    EXPECT_EQ(e.ErrorCode, c.Code);
    EXPECT_STREQ(e.what(), c.Message);
    EXPECT_TRUE(c.IsClass(e)) << typeid(e).name();
    EXPECT_EQ(dynamic_cast<const EINI*>(&e) != nullptr, c.IsDatabaseError);
    EXPECT_EQ(dynamic_cast<const EGeneral*>(&e) != nullptr, !c.IsDatabaseError);
  }
  EXPECT_EQ(LoadErrorStr(c.Code), c.Message);
  EXPECT_EQ(MessageNumberToString(-c.Code), c.Message);
}

INSTANTIATE_TEST_SUITE_P(
    AllCodes, CodeTable,
    ::testing::Values(
        CodeCase{-7001, "Key string too long", Is<EKeyTooLong>(), true},
        CodeCase{-7002, "Data string too long", Is<EDataTooLarge>(), true},
        CodeCase{-7003, "No fields defined in database", Is<EInternal>(), false},
        CodeCase{-7004, "Generic INI file write error", Is<EIniWrite>(), true},
        CodeCase{-7005, "Generic INI file read error", Is<EIniRead>(), true},
        CodeCase{-7006, "No index defined for database", Is<EInternal>(), false},
        CodeCase{-7007, "Record already exists", Is<ERecordExists>(), true},
        CodeCase{-7008, "Record not found in database", Is<ERecordNotFound>(), true},
        CodeCase{-7010, "Maximum database records (999) reached", Is<EDatabaseFull>(), true},
        CodeCase{-7011, "No records in database", Is<EDatabaseEmpty>(), true},
        CodeCase{-7012, "iPrepareIniDatabase not called", Is<EInternal>(), false},
        CodeCase{-7013, "Bad field list in INI component", Is<EBadFieldList>(), true},
        CodeCase{-7014, "Bad field index in INI component", Is<EBadFieldForIndex>(), true}));

TEST(CheckException, PassesNonNegativeResults) {
  EXPECT_EQ(CheckException(nullptr, 0), 0);
  EXPECT_EQ(CheckException(nullptr, 17), 17);
}

TEST(CheckException, RaisesNothingWhileLoading) {
  TBaseComponent component;
  component.BeginLoading();
  EXPECT_EQ(CheckException(&component, -7007), -7007);
  component.Loaded();
  EXPECT_THROW(CheckException(&component, -7007), ERecordExists);
}

TEST(CheckException, RecordExistsIsCaughtAsDatabaseErrorNotGeneral) {
  bool caughtAsIni = false;
  try {
    try {
      CheckException(nullptr, -7007);
    } catch (const EGeneral&) {
      ADD_FAILURE() << "caught as a general error";
    }
  } catch (const EINI& e) {
    caughtAsIni = true;
    EXPECT_STREQ(e.what(), "Record already exists");
  }
  EXPECT_TRUE(caughtAsIni);
}

TEST(Messages, LookupIgnoresSignAndMissesGiveEmptyText) {
  EXPECT_EQ(MessageNumberToString(7007), MessageNumberToString(-7007));
  EXPECT_EQ(MessageNumberToString(7009), "");
  EXPECT_EQ(MessageNumberToString(0), "");
  EXPECT_NE(MessageNumberToString(7010).find("(999)"), std::string::npos);
  EXPECT_EQ(ErrorMsg(-7008), LoadErrorStr(-7008));
}

TEST(Messages, UnknownCodesFallBackToTheSystemTextOnOneLine) {
  const std::string text = LoadErrorStr(-2);  // "No such file or directory" here
  EXPECT_FALSE(text.empty());
  EXPECT_LE(text.size(), 255u);
  for (char c : text) EXPECT_GE(static_cast<unsigned char>(c), 32);
  EXPECT_EQ(text.find("  "), std::string::npos);
  try {
    RaiseCodedException(-2);
  } catch (const ECodedException& e) {
    EXPECT_EQ(typeid(e), typeid(ECodedException));
    EXPECT_EQ(e.ErrorCode, -2);
    EXPECT_EQ(e.what(), text);
  }
  EXPECT_FALSE(LoadErrorStr(std::numeric_limits<int>::min()).empty());
}
