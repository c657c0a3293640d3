#include <gtest/gtest.h>

#include <vector>

#include "inidb/caller_database_config.h"
#include "numbers/caller_lookup.h"
#include "numbers/equivalent_callers.h"
#include "test_files.h"

namespace {

// A copy of a caller file as users keep it: numbers of five countries, each
// written the way its owner writes it, a caller saved from a withheld call,
// an office extension, and two callers with the same number.
class CallerLookupTest : public ::testing::Test {
 protected:
  CallerLookupTest() {
    WriteBytes(dir_.File("Callers.DB"), ReadBytes(QUORVEL_NUMBERS_DATA_DIR "/Callers.DB"));
    ApplyCallerDatabaseConfig(db_);
    db_.SetFileName(dir_.File("Callers.DB"));
  }

  std::vector<std::string> Find(const std::string& region, const std::string& shownNumber) {
    numbers::TEquivalentCallers equivalents(region);
    std::vector<std::string> names;
    for (const TCallerRecord& caller : numbers::FindCallers(db_, shownNumber, equivalents))
      names.push_back(caller.CallerName.Get());
    return names;
  }

  TTempDir dir_;
  TIniDBase db_;
};

struct LookupCase {
  const char* name;
  const char* region;
  const char* call;  // as the window shows it
  std::vector<std::string> callers;
};

class CallerLookupCases : public CallerLookupTest,
                          public ::testing::WithParamInterface<LookupCase> {};

TEST_P(CallerLookupCases, FindsWhatACallShows) {
  EXPECT_EQ(Find(GetParam().region, GetParam().call), GetParam().callers);
}

const std::vector<std::string> kNone;
const std::vector<std::string> kAliceAndTwin = {"Alice Brown", "Nina Twin"};

INSTANTIATE_TEST_SUITE_P(
    Cases, CallerLookupCases,
    ::testing::Values(
        // The exact text comes first and alone.
        LookupCase{"UsExactText", "US", "212-555-0101", {"Alice Brown"}},
        LookupCase{"UsExactTextOfTheTwin", "US", "(212) 555-0101", {"Nina Twin"}},
        LookupCase{"UsInternational", "US", "+12125550101", kAliceAndTwin},
        LookupCase{"UsTrunkOne", "US", "12125550101", kAliceAndTwin},
        LookupCase{"UsSpaced", "US", "+1 212 555 0101", kAliceAndTwin},
        LookupCase{"UsStoredInternational", "US", "646-555-0199", {"Bob Green"}},
        LookupCase{"UsStoredWithTrunkOne", "US", "718-555-0142", {"Carl Smith"}},
        LookupCase{"UsDialsAbroad", "US", "011 44 20 7946 0958", {"Dora Hughes"}},
        LookupCase{"UsOtherNumber", "US", "212-555-0102", kNone},
        // Stored without a country code, a Berlin number is read as American.
        LookupCase{"UsReadsNationalNumbersAsAmerican", "US", "+49301234567", kNone},
        LookupCase{"DeInternational", "DE", "+49301234567", {"Frieda Wolf"}},
        LookupCase{"DeDialsOut", "DE", "0049 30 1234567", {"Frieda Wolf"}},
        LookupCase{"DeNationalTenDigits", "DE", "030-123-4567", {"Frieda Wolf"}},
        LookupCase{"DeMobile", "DE", "01712345678", {"Gerd Bauer"}},
        // Stored without a country code, an American number is read as German.
        LookupCase{"DeCallFromAmerica", "DE", "+12125550101", kNone},
        LookupCase{"DeCallFromAmericaStoredWithCode", "DE", "+16465550199", {"Bob Green"}},
        LookupCase{"DeCallFromLondon", "DE", "00442079460958", {"Dora Hughes"}},
        LookupCase{"GbNational", "GB", "020 7946 0958", {"Dora Hughes"}},
        LookupCase{"GbMobileInternational", "GB", "+447700900123", {"Evan Price"}},
        LookupCase{"GbMobileNational", "GB", "07700900123", {"Evan Price"}},
        LookupCase{"FrInternational", "FR", "+33123456789", {"Hélène Roux"}},
        LookupCase{"FrMobileTenDigits", "FR", "061-234-5678", {"Ivo Marchand"}},
        LookupCase{"FrDialsOutToItself", "FR", "0033 6 12 34 56 78", {"Ivo Marchand"}},
        LookupCase{"ChInternational", "CH", "+41446681800", {"Jonas Keller"}},
        LookupCase{"ChNationalTenDigits", "CH", "044-668-1800", {"Jonas Keller"}},
        LookupCase{"ChMobile", "CH", "079-123-4567", {"Karin Meier"}},
        // Texts that are no telephone number find only their exact twin.
        LookupCase{"Blocked", "US", "BLOCKED", {"Withheld"}},
        LookupCase{"NoData", "US", "NO DATA", kNone},
        LookupCase{"Empty", "US", "", kNone},
        LookupCase{"Name", "US", "Private", kNone},
        LookupCase{"ExtensionExact", "US", "201", {"Leo Front Desk"}},
        LookupCase{"ExtensionWrittenOtherwise", "US", "2 01", kNone}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CallerLookupTest, ChangedNumbersAreReadAgainAndTheRegionIsHonoured) {
  numbers::TEquivalentCallers equivalents("US");
  equivalents.Prepare(db_);
  ASSERT_EQ(equivalents.Find(db_, "+16465550199").size(), 1u);

  db_.UpdRecord("Bob Green", MakeCallerRecord("Bob Green", "+1 646 555 0177"));
  EXPECT_TRUE(equivalents.Find(db_, "+16465550199").empty());
  ASSERT_EQ(equivalents.Find(db_, "6465550177").size(), 1u);

  // "030 1234567" is a Berlin number only when read in Germany.
  EXPECT_TRUE(equivalents.Find(db_, "+49301234567").empty());
  equivalents.SetHomeRegion("DE");
  ASSERT_EQ(equivalents.Find(db_, "+49301234567").size(), 1u);
  EXPECT_EQ(equivalents.Find(db_, "+49301234567")[0].CallerName.Get(), "Frieda Wolf");
}

}  // namespace
