#include "telephony/caller_id_parser.h"

#include <QList>

#include <gtest/gtest.h>

using Kind = TLineNotice::Kind;
using Presence = TLineNotice::Presence;

struct TParseCase {
  const char* label;
  QByteArray line;
  Kind kind;
  QString value;
  Presence presence = Presence::kSent;
};

class ModemLineParsing : public ::testing::TestWithParam<TParseCase> {};

TEST_P(ModemLineParsing, GivesKindAndValue) {
  const TParseCase& c = GetParam();
  const TLineNotice parsed = ParseModemLine(c.line);
  EXPECT_EQ(parsed.kind, c.kind);
  EXPECT_EQ(parsed.value, c.value);
  EXPECT_EQ(parsed.presence, c.presence);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ModemLineParsing,
    ::testing::Values(
        TParseCase{"Ring", "RING", Kind::kRing, ""},
        TParseCase{"RingWithBlanks", "  RING ", Kind::kRing, ""},
        TParseCase{"DistinctiveRing", "RING 2", Kind::kRing, ""},
        TParseCase{"RingingIsNotARing", "RINGING", Kind::kOther, ""},
        TParseCase{"NumberWithBlanks", "NMBR = 5551234567", Kind::kNumber, "5551234567"},
        TParseCase{"NumberWithoutBlanks", "NMBR=5551234567", Kind::kNumber, "5551234567"},
        TParseCase{"NumberOneSidedBlank", "NMBR =0123", Kind::kNumber, "0123"},
        TParseCase{"DdnNumber", "DDN_NMBR= 0800123", Kind::kNumber, "0800123"},
        TParseCase{"Ddn", "DDN = 42", Kind::kNumber, "42"},
        TParseCase{"Nbr", "NBR = 43", Kind::kNumber, "43"},
        TParseCase{"LowerCaseTag", "nmbr = 44", Kind::kNumber, "44"},
        TParseCase{"EmptyNumber", "NMBR = ", Kind::kNumber, ""},
        TParseCase{"PrivateNumber", "NMBR = P", Kind::kNumber, "", Presence::kWithheld},
        TParseCase{"OutOfAreaNumber", "NMBR = O", Kind::kNumber, "", Presence::kUnavailable},
        TParseCase{"PrivateName", "NAME=P", Kind::kName, "", Presence::kWithheld},
        TParseCase{"FreeTextIsAValue", "NMBR = Restricted", Kind::kNumber, "Restricted"},
        TParseCase{"Name", "NAME = JOHN DOE", Kind::kName, "JOHN DOE"},
        TParseCase{"NameKeepsEqualsSign", "NAME=A=B", Kind::kName, "A=B"},
        TParseCase{"NameUtf8", "NAME = J\xc3\xbcrgen", Kind::kName, QString::fromUtf8("J\xc3\xbcrgen")},
        TParseCase{"NameLatin1", "NAME = J\xfcrgen", Kind::kName, QString::fromUtf8("J\xc3\xbcrgen")},
        TParseCase{"Date", "DATE = 1208", Kind::kCallerIdData, ""},
        TParseCase{"Time", "TIME = 0915", Kind::kCallerIdData, ""},
        TParseCase{"Message", "MESG = 030132", Kind::kCallerIdData, ""},
        TParseCase{"UnknownTag", "FOO = 1", Kind::kOther, ""},
        TParseCase{"Ok", "OK", Kind::kOther, ""},
        TParseCase{"CommandEcho", "AT+VCID=1", Kind::kOther, ""},
        TParseCase{"NameIsCleaned", QByteArray("NAME = EVIL\x1b[31m\x07NAME\x00", 22), Kind::kName, "EVIL[31mNAME"},
        TParseCase{"NumberIsCut", "NMBR = " + QByteArray(200, '9'), Kind::kNumber, QString(kMaxCallerTextChars, '9')},
        TParseCase{"Binary", QByteArray("\x00\xff=\x01", 4), Kind::kOther, ""}),
    [](const ::testing::TestParamInfo<TParseCase>& info) { return std::string(info.param.label); });

TEST(CallerTextSanitising, RemovesControlsTrimsAndCutsToEightyCharacters) {
  const struct {
    QByteArray text;
    QString expected;
  } cases[] = {
      {QByteArray("JO\x07HN\x00 D\x1b[2JOE\x7f", 15), "JOHN D[2JOE"},
      // C1 controls and invisible direction overrides are removed as well.
      {"A\xc2\x85" "B\xe2\x80\xae" "C", "ABC"},
      {"\t  JOHN  \x01", "JOHN"},
      {"\x01\x02", ""},
      {QByteArray(200, '7'), QString(kMaxCallerTextChars, '7')},
      {QByteArray(kMaxCallerTextChars, '7'), QString(kMaxCallerTextChars, '7')},
      // A blank at the cut point does not survive at the end.
      {QByteArray(kMaxCallerTextChars - 1, 'a') + " b", QString(kMaxCallerTextChars - 1, 'a')},
  };
  for (const auto& c : cases) EXPECT_EQ(SanitiseCallerText(c.text), c.expected) << c.text.toStdString();
}

TEST(CallerTextSanitising, CutDoesNotSplitACharacter) {
  // 100 characters outside the basic plane (two UTF-16 units each).
  QByteArray emoji;
  for (int i = 0; i < 100; ++i) emoji += "\xf0\x9f\x98\x80";
  const QString cut = SanitiseCallerText(emoji);
  EXPECT_EQ(cut.toUcs4().size(), kMaxCallerTextChars);
  EXPECT_FALSE(cut.back().isHighSurrogate());
}
