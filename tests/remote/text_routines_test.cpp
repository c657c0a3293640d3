#include "remote/text_routines.h"

#include <cerrno>
#include <gtest/gtest.h>

#include "remote/start_failure.h"

namespace {

struct SeparatorCase {
  const char* name;
  std::string text, open, close;
  std::string after, before, between;
};

void PrintTo(const SeparatorCase& c, std::ostream* out) { *out << c.name; }

class SeparatorRoutines : public testing::TestWithParam<SeparatorCase> {};

TEST_P(SeparatorRoutines, CutAtTheFirstOccurrence) {
  const SeparatorCase& c = GetParam();
  EXPECT_EQ(TextAfter(c.text, c.open), c.after);
  EXPECT_EQ(TextBefore(c.text, c.open), c.before);
  EXPECT_EQ(TextBetween(c.text, c.open, c.close), c.between);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SeparatorRoutines,
    testing::Values(
        SeparatorCase{"Found", "name=value;rest", "=", ";", "value;rest", "name", "value"},
        SeparatorCase{"FirstOfSeveral", "a=b=c", "=", "=", "b=c", "a", "b"},
        SeparatorCase{"MissingLeavesWhole", "plain", "=", ";", "plain", "plain", "plain"},
        SeparatorCase{"CloseMissing", "k=v", "=", ";", "v", "k", "v"},
        SeparatorCase{"OpenMissingCloseFound", "k;v", "=", ";", "k;v", "k;v", "k"},
        SeparatorCase{"AtStart", "=x", "=", ";", "x", "", "x"},
        SeparatorCase{"AtEnd", "x=", "=", ";", "", "x", ""},
        SeparatorCase{"LongSeparator", "a<->b<->c", "<->", "<->", "b<->c", "a", "b"},
        SeparatorCase{"EmptySeparatorNeverOccurs", "abc", "", "", "abc", "abc", "abc"},
        SeparatorCase{"EmptyText", "", "=", ";", "", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

struct CountCase {
  const char* name;
  std::string text;
  int count;
  std::string left, right;
};

void PrintTo(const CountCase& c, std::ostream* out) { *out << c.name; }

class CountRoutines : public testing::TestWithParam<CountCase> {};

TEST_P(CountRoutines, TakeBytesWithoutSplittingCharacters) {
  const CountCase& c = GetParam();
  EXPECT_EQ(LeftChars(c.text, c.count), c.left);
  EXPECT_EQ(RightChars(c.text, c.count), c.right);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CountRoutines,
    testing::Values(CountCase{"Shorter", "abcdef", 2, "ab", "ef"},
                    CountCase{"Exact", "abc", 3, "abc", "abc"},
                    CountCase{"LongerThanText", "abc", 10, "abc", "abc"},
                    CountCase{"Zero", "abc", 0, "", ""},
                    CountCase{"Negative", "abc", -4, "", ""},
                    CountCase{"EmptyText", "", 3, "", ""},
                    // "ä" and "ö" are two bytes each.
                    CountCase{"CutInsideCharacterShortens", "\xC3\xA4x\xC3\xB6", 1, "", ""},
                    CountCase{"CutAfterCharacter", "\xC3\xA4x\xC3\xB6", 3, "\xC3\xA4x", "x\xC3\xB6"},
                    CountCase{"ThreeByteCharacter", "\xE2\x82\xAC!", 2, "", "!"}),
    [](const auto& info) { return std::string(info.param.name); });

struct LinesCase {
  const char* name;
  std::string text;
  std::vector<std::string> lines;
};

void PrintTo(const LinesCase& c, std::ostream* out) { *out << c.name; }

class LineSplitting : public testing::TestWithParam<LinesCase> {};

TEST_P(LineSplitting, BreaksAtCrLfCrOrLf) {
  EXPECT_EQ(SplitLines(GetParam().text), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LineSplitting,
    testing::Values(LinesCase{"Empty", "", {}},
                    LinesCase{"OneLineNoBreak", "abc", {"abc"}},
                    LinesCase{"TrailingBreakAddsNoLine", "a\r\nb\r\n", {"a", "b"}},
                    LinesCase{"LoneCr", "a\rb", {"a", "b"}},
                    LinesCase{"LoneLf", "a\nb", {"a", "b"}},
                    LinesCase{"CrCrLfIsTwoBreaks", "a\r\r\nb", {"a", "", "b"}},
                    LinesCase{"LfCrIsTwoBreaks", "a\n\rb", {"a", "", "b"}},
                    LinesCase{"OnlyBreak", "\r\n", {""}},
                    LinesCase{"EmptyLinesKept", "\n\nx", {"", "", "x"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TrimBlanksAndControls, RemovesCodesUpTo32AtBothEndsOnly) {
  EXPECT_EQ(TrimBlanksAndControls(" \t\r\n a b \x01\x1f "), "a b");
  EXPECT_EQ(TrimBlanksAndControls("\x7f x \xC3\xA4"), "\x7f x \xC3\xA4");  // DEL and UTF-8 stay
  EXPECT_EQ(TrimBlanksAndControls(" \r\n "), "");
}

TEST(WithoutControlCharacters, RemovesEveryControlButKeepsText) {
  EXPECT_EQ(WithoutControlCharacters("x\r\ntouch pwned\t\x7f!"), "xtouch pwned!");
  EXPECT_EQ(WithoutControlCharacters("J\xC3\xBCrgen \"M\""), "J\xC3\xBCrgen \"M\"");
}

struct ReasonCase {
  const char* name;
  int error;
  std::string reason;
};

void PrintTo(const ReasonCase& c, std::ostream* out) { *out << c.name; }

class StartFailureReasons : public testing::TestWithParam<ReasonCase> {};

TEST_P(StartFailureReasons, NameTheErrorNumber) {
  EXPECT_EQ(StartFailureReason(GetParam().error), GetParam().reason);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, StartFailureReasons,
    testing::Values(ReasonCase{"NotFound", ENOENT, "Path or file name not found"},
                    ReasonCase{"NoMemory", ENOMEM, "Not enough memory"},
                    ReasonCase{"InvalidArgument", EINVAL, "Invalid argument"},
                    ReasonCase{"ArgListTooLong", E2BIG, "Arg list too long"},
                    ReasonCase{"ExecFormat", ENOEXEC, "Exec format error"},
                    ReasonCase{"AccessDeniedHasNone", EACCES, ""},
                    ReasonCase{"ZeroHasNone", 0, ""}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
