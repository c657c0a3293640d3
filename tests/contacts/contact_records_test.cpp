#include <gtest/gtest.h>

#include "contacts/contact_records.h"
#include "numbers/number_equivalence.h"

namespace {

struct NameCase {
  const char* name;
  QString contact;
  int n;
  QString caller;
};

class CallerNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(CallerNames, FitTheRecordAndStayStorable) {
  const QString caller = contacts::NumberedName(contacts::CallerNameOf(GetParam().contact), GetParam().n);
  EXPECT_EQ(caller.toStdString(), GetParam().caller.toStdString());
  EXPECT_LE(caller.toUtf8().size(), 20);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CallerNames,
    ::testing::Values(
        NameCase{"Short", "Alice Brown", 1, "Alice Brown"},
        NameCase{"SecondNumber", "Alice Brown", 2, "Alice Brown 2"},
        NameCase{"CutToTwentyBytes", "Bartholomew Fitzgerald-Worthington", 1, "Bartholomew Fitzgera"},
        NameCase{"CutKeepsTheSuffix", "Bartholomew Fitzgerald-Worthington", 2, "Bartholomew Fitzge 2"},
        NameCase{"TenthNumber", "Bartholomew Fitzgerald-Worthington", 10, "Bartholomew Fitzg 10"},
        // "ë" takes two bytes: a cut through it drops it whole.
        NameCase{"NeverSplitsACharacter", "Zoë Keller-Äbischëx", 1, "Zoë Keller-Äbisch"},
        NameCase{"BlanksAtTheCutGo", "Anna-Lena Schmidt Meier", 2, "Anna-Lena Schmidt 2"},
        NameCase{"LineBreaksAndRuns", "  Anna\n\tMaria  ", 1, "Anna Maria"},
        NameCase{"FileAndIniCharacters", "AC/DC [Fan] a=b", 1, "AC-DC -Fan- a-b"},
        NameCase{"NoPlaceholderStart", "(Work) Bob", 1, "Work) Bob"},
        NameCase{"NothingLeft", " ( ", 1, ""}),
    [](const auto& info) { return std::string(info.param.name); });

struct NumberCase {
  const char* name;
  const char* region;
  QString written;
  std::string stored;
};

class StoredNumbers : public ::testing::TestWithParam<NumberCase> {};

TEST_P(StoredNumbers, AreWhatTheExactLookupFinds) {
  const numbers::TNumberEquivalence home(GetParam().region);
  EXPECT_EQ(contacts::StoredNumberOf(GetParam().written, home), GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StoredNumbers,
    ::testing::Values(
        NumberCase{"UsTenDigits", "US", "(212) 555 0101", "212-555-0101"},
        NumberCase{"UsLeadingOne", "US", "1-212-555-0101", "212-555-0101"},
        NumberCase{"UsPlusOne", "US", "+1 212.555.0101", "212-555-0101"},
        NumberCase{"UsSevenDigitsAsWritten", "US", "555-0101", "555-0101"},
        NumberCase{"AbroadAsWritten", "US", " +44 20 7946 0958 ", "+44 20 7946 0958"},
        NumberCase{"LongCutToTwentyBytes", "US", "+44 20 7946 0958 ext. 1234", "+44 20 7946 0958 ext"},
        NumberCase{"ExtensionAsWritten", "US", "212-555-0101 x12", "212-555-0101 x12"},
        NumberCase{"DeTenDigitsWithTrunkZero", "DE", "+49 30 1234567", "030-123-4567"},
        NumberCase{"DeElevenDigitsAsWritten", "DE", "+49 171 2345678", "+49 171 2345678"},
        NumberCase{"ChTenDigits", "CH", "+41 44 668 18 00", "044-668-1800"},
        NumberCase{"ControlCharactersGo", "US", "555\t0101\x7f", "5550101"},
        NumberCase{"NoDigits", "US", "n/a", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ContactRecords, OneCallerPerDistinctNumber) {
  const numbers::TNumberEquivalence home("US");
  const std::vector<contacts::TContactRecord> records = contacts::RecordsOf(
      "Alice Brown", {"+1 212 555 0101", "none", "(212) 555-0101", "+44 20 7946 0958"}, home);
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].Name, "Alice Brown");
  EXPECT_EQ(records[0].Number, "212-555-0101");
  EXPECT_EQ(records[1].Name, "Alice Brown 2");
  EXPECT_EQ(records[1].Number, "+44 20 7946 0958");
}

}  // namespace
