#include "remote/profile_list.h"

#include <gtest/gtest.h>

using namespace remote;

TEST(ProfileList, SortsWithoutRegardToCase) {
  QStringList names;
  for (const char* n : {"word", "Excel", "access", "Zeta", "beta"}) {
    names.insert(SortedInsertPosition(names, n), n);
  }
  EXPECT_EQ(names, (QStringList{"access", "beta", "Excel", "word", "Zeta"}));
}

TEST(ProfileList, FindsEntriesWithoutRegardToCase) {
  const QStringList names{"Access", "Excel", "Word"};
  EXPECT_EQ(FindProfile(names, "excel"), 1);
  EXPECT_EQ(FindProfile(names, "WORD"), 2);
  EXPECT_EQ(FindProfile(names, "Exc"), -1);    // a prefix is no entry
  EXPECT_EQ(FindProfile(names, "Excel "), -1); // nor is a name with a blank added
  EXPECT_EQ(FindProfile(names, ""), -1);
  EXPECT_EQ(FindProfile({}, "Excel"), -1);
}

TEST(ProfileList, CompletionTakesTheFirstEntryBeginningWithTheText) {
  const QStringList names{"App", "Apple", "apricot", "Banana"};
  EXPECT_EQ(FindCompletion(names, "ap"), 0);
  EXPECT_EQ(FindCompletion(names, "APPL"), 1);
  EXPECT_EQ(FindCompletion(names, "apr"), 2);
  EXPECT_EQ(FindCompletion(names, "b"), 3);
  EXPECT_EQ(FindCompletion(names, "c"), -1);
  EXPECT_EQ(FindCompletion(names, "Applesauce"), -1);
  EXPECT_EQ(FindCompletion(names, ""), -1);
}

struct PositionCase {
  const char* name;
  const char* stored;
  int count;
  int expected;
};

class InitialPosition : public testing::TestWithParam<PositionCase> {};

TEST_P(InitialPosition, Selects) {
  const PositionCase& c = GetParam();
  EXPECT_EQ(InitialProfilePosition(QString::fromUtf8(c.stored), c.count), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    StoredText, InitialPosition,
    testing::Values(PositionCase{"NothingStoredSelectsFirst", "", 3, 0},
                    PositionCase{"NothingStoredEmptyList", "", 0, -1},
                    PositionCase{"FirstPosition", "0", 3, 0},
                    PositionCase{"LastPosition", "2", 3, 2},
                    PositionCase{"JustPastTheEnd", "3", 3, -1},
                    PositionCase{"MinusOneSelectsNothing", "-1", 3, -1},
                    PositionCase{"OtherNegative", "-7", 3, -1},
                    PositionCase{"AnyNumberInEmptyList", "0", 0, -1},
                    PositionCase{"BeyondIntRange", "4294967296", 3, -1},
                    PositionCase{"BeyondLongRange", "99999999999999999999999", 3, -1},
                    PositionCase{"BlanksAround", " 1 ", 3, 1},
                    PositionCase{"NotANumberSelectsFirst", "Excel", 3, 0},
                    PositionCase{"NotANumberEmptyList", "x", 0, -1},
                    PositionCase{"HalfANumber", "1x", 3, 0},
                    PositionCase{"Fraction", "1.5", 3, 0}),
    [](const testing::TestParamInfo<PositionCase>& info) { return std::string(info.param.name); });
