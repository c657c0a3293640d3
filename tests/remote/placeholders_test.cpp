#include "remote/placeholders.h"

#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>

namespace {

// 2026-12-08 07:05:09 local time, whatever the time zone.
std::chrono::system_clock::time_point FixedMoment(int second = 9, int day = 8) {
  std::tm local{};
  local.tm_year = 2026 - 1900;
  local.tm_mon = 11;
  local.tm_mday = day;
  local.tm_hour = 7;
  local.tm_min = 5;
  local.tm_sec = second;
  local.tm_isdst = -1;
  return std::chrono::system_clock::from_time_t(std::mktime(&local));
}

TPlaceholderSources FixedSources() {
  TPlaceholderSources sources;
  sources.Clock = [] { return FixedMoment(); };
  sources.LineName = [] { return std::string("Modem 1"); };
  sources.TimeLocale = std::locale::classic();  // %x = mm/dd/yy, %X = HH:MM:SS
  return sources;
}

const std::string kNumber = "555-123-4567";
const std::string kName = "Jane Doe";

struct ExpansionCase {
  const char* name;
  std::string templateText;
  std::string expected;
};

void PrintTo(const ExpansionCase& c, std::ostream* out) { *out << c.name; }

class Expansion : public testing::TestWithParam<ExpansionCase> {};

TEST_P(Expansion, GivesTheExpectedText) {
  EXPECT_EQ(SubstitutePlaceholders(GetParam().templateText, kNumber, kName, FixedSources()),
            GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Expansion,
    testing::Values(
        ExpansionCase{"SentenceWithTwoKeys", "Call from @CID at @TIME",
                      "Call from 555-123-4567 at 07:05:09"},
        ExpansionCase{"SegmentWithoutKeyDropped", "@CID@ at @TIME@", "555-123-456707:05:09"},
        ExpansionCase{"KeysAreCaseSensitive", "@cid", ""},
        ExpansionCase{"NoMarkComesBackByteForByte", "  plain \"text\"\r\n\t",
                      "  plain \"text\"\r\n\t"},
        ExpansionCase{"WithMarkOuterBlanksAndBreaksGo", " \r\n  Name: @CIN \r\n\r\n",
                      "Name: Jane Doe"},
        ExpansionCase{"KeyFollowedDirectlyByText", "x@CIDabc", "x555-123-4567abc"},
        ExpansionCase{"EveryKey", "@CIN|@CID|@DATE|@TIME|@PORT",
                      "Jane Doe|555-123-4567|12/08/26|07:05:09|Modem 1"},
        ExpansionCase{"LongerWordsStartingWithAKey", "@CINDY @DATETIME",
                      "Jane DoeDY 12/08/26TIME"},
        ExpansionCase{"ShortenedKeyIsNoKey", "a@TIM b", "a"},
        ExpansionCase{"MailAddressLostUpToNextMark", "mail me@example.com now @CID",
                      "mail me555-123-4567"},
        ExpansionCase{"EmptyTemplate", "", ""},
        ExpansionCase{"OnlyMark", "@", ""},
        ExpansionCase{"DoubledMark", "@@CID", "555-123-4567"},
        ExpansionCase{"ControlCharactersTrimmedAtEnds", "\t\x01@CID\x1f", "555-123-4567"},
        ExpansionCase{"SegmentRunsAcrossLines", "echo @CIN\r\necho done\r\n",
                      "echo Jane Doe\r\necho done"},
        ExpansionCase{"TextBeforeFirstMarkKept", "  lead @CID  ", "lead 555-123-4567"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Expansion, InsertedValuesAreNotScannedAgain) {
  EXPECT_EQ(SubstitutePlaceholders("<@CIN>", kNumber, "a@CIDb @PORT", FixedSources()),
            "<a@CIDb @PORT>");
}

TEST(Expansion, MissingCallDataGivesTheHeldTexts) {
  EXPECT_EQ(SubstitutePlaceholders("[@CID][@CIN]", "", "", FixedSources()), "[][]");
  EXPECT_EQ(SubstitutePlaceholders("@CID/@CIN", "NO DATA", "NO DATA", FixedSources()),
            "NO DATA/NO DATA");
}

TEST(Expansion, TextAfterAKeyIsCutTo255Bytes) {
  const std::string exact(255, 'x');
  EXPECT_EQ(SubstitutePlaceholders("@CID" + exact, kNumber, kName, FixedSources()), kNumber + exact);
  EXPECT_EQ(SubstitutePlaceholders("@CID" + exact + "yz", kNumber, kName, FixedSources()),
            kNumber + exact);
  // Each segment is cut on its own.
  EXPECT_EQ(SubstitutePlaceholders("@CIN" + exact + "y@CID" + exact + "z", kNumber, kName,
                                   FixedSources()),
            kName + exact + kNumber + exact);
  // 200 two-byte characters: the cut falls inside one, which is left out.
  std::string umlauts;
  for (int i = 0; i < 200; ++i) umlauts += "\xC3\xA4";
  const std::string expanded = SubstitutePlaceholders("@CIN" + umlauts, kNumber, kName, FixedSources());
  EXPECT_EQ(expanded, kName + umlauts.substr(0, 254));
}

TEST(Expansion, ScriptLosesEverythingBeyond255BytesAfterItsLastPlaceholder) {
  const std::string tail = "\r\necho " + std::string(300, 'x') + "\r\n";
  const std::string result = SubstitutePlaceholders("echo @CID" + tail, kNumber, kName, FixedSources());
  EXPECT_EQ(result, "echo " + kNumber + tail.substr(0, 255));
}

TEST(Expansion, ClockAndLineNameAreReadForEveryOccurrence) {
  int clockReads = 0;
  int lineReads = 0;
  TPlaceholderSources sources = FixedSources();
  sources.Clock = [&] { return FixedMoment(0, 8 + clockReads++); };
  sources.LineName = [&] { return "L" + std::to_string(++lineReads); };
  EXPECT_EQ(SubstitutePlaceholders("@DATE @DATE @TIME @PORT @PORT", kNumber, kName, sources),
            "12/08/26 12/09/26 07:05:00 L1 L2");
  EXPECT_EQ(clockReads, 3);
  EXPECT_EQ(lineReads, 2);
}

TEST(Expansion, NoSourceIsReadWithoutItsPlaceholder) {
  TPlaceholderSources sources;
  sources.Clock = [] {
    ADD_FAILURE() << "clock read";
    return FixedMoment();
  };
  sources.LineName = [] {
    ADD_FAILURE() << "line name read";
    return std::string();
  };
  EXPECT_EQ(SubstitutePlaceholders("@CID @CIN", kNumber, kName, sources), kNumber + " " + kName);
}

TEST(UserTimeLocale, UninstalledLocaleFallsBackToClassicFormats) {
  const char* previous = std::getenv("LC_ALL");
  const std::string saved = previous ? previous : "";
  setenv("LC_ALL", "xx_NOWHERE.bogus", 1);
  const std::locale locale = TPlaceholderSources::UserTimeLocale();
  if (previous) setenv("LC_ALL", saved.c_str(), 1); else unsetenv("LC_ALL");
  EXPECT_EQ(FormatShortDate(FixedMoment(), locale), "12/08/26");
  EXPECT_EQ(FormatLongTime(FixedMoment(), locale), "07:05:09");
}

}  // namespace
