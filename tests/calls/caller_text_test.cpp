#include "calls/caller_text.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace calls;

namespace {

struct NumberCase {
  const char* label;
  QString number;
  std::string shown;
};

class NumberFormatting : public ::testing::TestWithParam<NumberCase> {};

TEST_P(NumberFormatting, ShowsNumber) { EXPECT_EQ(FormatCallerNumber(GetParam().number), GetParam().shown); }

INSTANTIATE_TEST_SUITE_P(
    Numbers, NumberFormatting,
    ::testing::Values(
        NumberCase{"TenDigits", "5551234567", "555-123-4567"},
        NumberCase{"NineDigits", "555123456", "555123456"},
        NumberCase{"ElevenDigits", "15551234567", "15551234567"},
        NumberCase{"TenNonDigits", "abcdefghij", "abc-def-ghij"},
        NumberCase{"TenWithBlanks", "555 12 345", "555- 12- 345"},
        NumberCase{"AlreadyFormatted", "555-123-4567", "555-123-4567"},
        NumberCase{"Empty", "", ""},
        // Control characters from the network never count and never stay.
        NumberCase{"ControlCharactersStripped", "555\r123\x1b" "4567\n", "555-123-4567"},
        // Ten characters, twelve bytes: split by characters, never inside one.
        NumberCase{"TenNonAsciiCharacters", QString::fromUtf8("äöü4567890"),
                   "äöü-456-7890"}),
    [](const ::testing::TestParamInfo<NumberCase>& info) { return std::string(info.param.label); });

TEST(CallerText, StripsC0C1AndDelete) {
  EXPECT_EQ(StripControlCharacters(QString::fromUtf8("A\tB\x7f" "C\u0085D\u009fE\0F", 14)),
            QString("ABCDEF"));
  EXPECT_EQ(StripControlCharacters(QString::fromUtf8("Müller & Söhne")),
            QString::fromUtf8("Müller & Söhne"));
}

struct NameCase {
  const char* label;
  QString name;
  bool storable;
};

class CallerNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(CallerNames, StorableOrNot) {
  EXPECT_EQ(IsStorableCallerName(GetParam().name), GetParam().storable);
}

INSTANTIATE_TEST_SUITE_P(
    Names, CallerNames,
    ::testing::Values(NameCase{"Plain", "Alice Brown", true},
                      NameCase{"NonAscii", QString::fromUtf8("Jörg Ümlaut"), true},
                      NameCase{"InnerBrackets", "Bob [work]", false},
                      NameCase{"InnerBracketOpenOnly", "Bob [work", true},
                      NameCase{"SemicolonInside", "Bob; Carl", true},
                      NameCase{"Empty", "", false},
                      NameCase{"Slash", "../etc/passwd", false},
                      NameCase{"SlashInside", "Bob/Alice", false},
                      NameCase{"Dot", ".", false},
                      NameCase{"DotDot", "..", false},
                      NameCase{"ThreeDots", "...", true},
                      NameCase{"Equals", "a=b", false},
                      NameCase{"ClosingBracket", "Bob]", false},
                      NameCase{"LeadingBracket", "[Index", false},
                      NameCase{"LeadingSemicolon", ";Bob", false},
                      NameCase{"LineFeed", "Bob\nGreen", false},
                      NameCase{"CarriageReturn", "Bob\r", false},
                      NameCase{"Tab", "Bob\tGreen", false},
                      NameCase{"DefaultPicturesName", "Default", false},
                      NameCase{"DefaultInOtherCase", "dEFAULT", false},
                      NameCase{"DefaultInALongerName", "Default Bob", true},
                      NameCase{"BlankAround", " Bob", false},
                      NameCase{"StoresOwnSection", "index", false}),
    [](const ::testing::TestParamInfo<NameCase>& info) { return std::string(info.param.label); });

TEST(CallerText, NumbersRefuseWhatWouldNotReadBack) {
  for (const char* number : {"555-0101", "=[x];", "", "\"555", "#1", "5 5"}) {
    EXPECT_TRUE(IsStorableCallerID(number)) << number;
  }
  for (const char* number : {"555\r\n[Index]", "\"555\"", "'555'", "#", " 555", "555 "}) {
    EXPECT_FALSE(IsStorableCallerID(number)) << number;
  }
  EXPECT_FALSE(IsStorableCallerID(QString(QChar(0)) + "1"));
}

TEST(CallerText, StoredTextIsTrimmedAndCutOnceToTwentyBytes) {
  const std::vector<std::pair<QString, QString>> cases = {
      {"  Alice Brown ", "Alice Brown"},
      {"Bartholomew Fitzgerald-Smythe", "Bartholomew Fitzgera"},
      {"Bartholomew Fitzger ald", "Bartholomew Fitzger"},  // no blank left at the end
      {QString(19, 'x') + QString::fromUtf8("é"), QString(19, 'x')},  // never half a character
      {"", ""}};
  for (const auto& [typed, stored] : cases) EXPECT_EQ(StoredCallerText(typed), stored) << typed.toStdString();
}
TEST(CallerText, PictureNamesStayInTheFolder) {
  EXPECT_TRUE(IsSafePictureName("Alice"));
  EXPECT_TRUE(IsSafePictureName("(Unknown)"));
  EXPECT_FALSE(IsSafePictureName("a/b"));
  EXPECT_FALSE(IsSafePictureName("/etc/x"));
  EXPECT_FALSE(IsSafePictureName("."));
  EXPECT_FALSE(IsSafePictureName(".."));
}

}  // namespace
