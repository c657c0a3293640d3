#include <gtest/gtest.h>

#include "numbers/home_region.h"
#include "numbers/number_equivalence.h"

namespace {

struct RegionCase {
  const char* name;
  const char* stored;
  const char* locale;
  const char* expected;
};

class HomeRegionTest : public ::testing::TestWithParam<RegionCase> {};

TEST_P(HomeRegionTest, StoredElseLocaleElseUS) {
  EXPECT_EQ(numbers::HomeRegion(GetParam().stored, GetParam().locale), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HomeRegionTest,
    ::testing::Values(RegionCase{"LocaleTerritory", "", "de_DE.UTF-8", "DE"},
                      RegionCase{"LocaleWithModifier", "", "sr_RS@latin", "RS"},
                      RegionCase{"LocaleWithScript", "", "zh_Hant_TW", "TW"},
                      RegionCase{"QtSpelling", "", "en-CA", "CA"},
                      RegionCase{"CLocale", "", "C", "US"},
                      RegionCase{"LanguageOnly", "", "de", "US"},
                      RegionCase{"UnknownTerritory", "", "en_ZZ.UTF-8", "US"},
                      RegionCase{"StoredWins", "CH", "de_DE.UTF-8", "CH"},
                      RegionCase{"StoredAnyCase", " fr ", "C", "FR"},
                      RegionCase{"StoredUnknown", "XX", "en_GB.UTF-8", "GB"},
                      RegionCase{"StoredNotACode", "Germany", "C", "US"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SupportedRegions, AreSortedCodesIncludingTheHomeRegionsOfUsers) {
  const std::vector<std::string> regions = numbers::SupportedRegions();
  EXPECT_TRUE(std::is_sorted(regions.begin(), regions.end()));
  for (const char* code : {"US", "DE", "GB", "FR", "CH"})
    EXPECT_NE(std::find(regions.begin(), regions.end(), code), regions.end()) << code;
  EXPECT_FALSE(numbers::IsSupportedRegion("us"));
  EXPECT_FALSE(numbers::IsSupportedRegion(""));
}

struct DigitsCase {
  const char* name;
  const char* region;
  const char* written;
  const char* digits;
};

class NationalDigitsTest : public ::testing::TestWithParam<DigitsCase> {};

TEST_P(NationalDigitsTest, AreWhatACallFromInsideTheRegionShows) {
  const numbers::TNumberEquivalence home(GetParam().region);
  EXPECT_EQ(home.NationalDigits(GetParam().written), GetParam().digits);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NationalDigitsTest,
    ::testing::Values(DigitsCase{"UsInternational", "US", "+1 212 555-0101", "2125550101"},
                      DigitsCase{"UsTrunkOne", "US", "1 (212) 555 0101", "2125550101"},
                      DigitsCase{"UsLetters", "US", "1-800-FLOWERS", "8003569377"},
                      DigitsCase{"DeKeepsTrunkZero", "DE", "+49 30 1234567", "0301234567"},
                      DigitsCase{"GbElevenDigits", "GB", "+44 20 7946 0958", "02079460958"},
                      DigitsCase{"OtherCountry", "US", "+44 20 7946 0958", ""},
                      DigitsCase{"Extension", "US", "212-555-0101 ext. 12", ""},
                      DigitsCase{"NoNumber", "US", "BLOCKED", ""}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
