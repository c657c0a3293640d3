#include "telephony/modem_commands.h"

#include <gtest/gtest.h>

using ModemCommands::FinalReply;
using ModemCommands::TReply;

TEST(ModemReplies, FindsTheResultCodeBehindTheEcho) {
  EXPECT_EQ(FinalReply("ATZ\r\r\nOK\r\n"), TReply::kOk);
  EXPECT_EQ(FinalReply("AT+VCID=1\r\r\nERROR\r\n"), TReply::kError);
  EXPECT_EQ(FinalReply("\r\nOK"), TReply::kOk);  // no line end yet
}

TEST(ModemReplies, TellsWhereTheBytesAfterTheReplyBegin) {
  const QByteArray answer = "AT+VCID=1\r\r\nOK\r\n\r\nRING\r\n";
  qsizetype end = -1;
  ASSERT_EQ(FinalReply(answer, &end), TReply::kOk);
  EXPECT_EQ(answer.mid(end), "\n\r\nRING\r\n");
  ASSERT_EQ(FinalReply("\r\nERROR", &end), TReply::kError);
  EXPECT_EQ(end, 7);
}

TEST(ModemReplies, NumericCodesOfAModemLeftInV0) {
  EXPECT_EQ(FinalReply("0\r"), TReply::kOk);
  EXPECT_EQ(FinalReply("ATQ0V1\r4\r"), TReply::kError);
  EXPECT_EQ(FinalReply("NMBR = 0\r\n10\r\n"), TReply::kNone);
}

TEST(ModemReplies, NothingFinalYet) {
  EXPECT_EQ(FinalReply(""), TReply::kNone);
  EXPECT_EQ(FinalReply("ATZ\r"), TReply::kNone);
  EXPECT_EQ(FinalReply("\r\nRING\r\n"), TReply::kNone);
  // Words that merely contain a result code are not one.
  EXPECT_EQ(FinalReply("NAME = OK\r\nBROKEN\r\nERRORS\r\n"), TReply::kNone);
}

namespace {

// The commands a sequence sends when the modem gives `replies` in turn,
// and its failure message ("" on success).
std::pair<std::vector<std::string>, std::string> RunSequence(std::vector<TReply> replies) {
  ModemCommands::TCallerIdSequence sequence;
  std::vector<std::string> sent;
  for (TReply reply : replies) {
    if (sequence.Finished()) break;
    sent.push_back(sequence.Command());
    sequence.HandleReply(reply);
  }
  EXPECT_TRUE(sequence.Finished());
  EXPECT_EQ(sequence.Command(), nullptr);
  return {sent, sequence.Failure() ? sequence.Failure() : ""};
}

}  // namespace

using Steps = std::vector<std::string>;

TEST(CallerIdSequence, VerboseResetVerboseThenCallerId) {
  const auto [sent, failure] = RunSequence({TReply::kOk, TReply::kOk, TReply::kOk, TReply::kOk});
  EXPECT_EQ(sent, (Steps{"ATE0V1Q0", "ATZ", "ATE0V1Q0", "AT+VCID=1"}));
  EXPECT_EQ(failure, "");
}

TEST(CallerIdSequence, FallsBackOnErrorAndFailsWhenBothAreRefused) {
  EXPECT_EQ(RunSequence({TReply::kOk, TReply::kOk, TReply::kOk, TReply::kError, TReply::kOk}),
            std::make_pair(Steps{"ATE0V1Q0", "ATZ", "ATE0V1Q0", "AT+VCID=1", "AT#CID=1"}, std::string()));
  EXPECT_EQ(RunSequence({TReply::kOk, TReply::kOk, TReply::kOk, TReply::kError, TReply::kError}).second,
            "Caller ID not supported by modem");
}

TEST(CallerIdSequence, ResetMayBeRefusedOrSilentOtherCommandsMayNot) {
  // A stored quiet profile makes the reset silent; the next command still gets an answer.
  EXPECT_EQ(RunSequence({TReply::kOk, TReply::kNone, TReply::kOk, TReply::kOk}).second, "");
  EXPECT_EQ(RunSequence({TReply::kOk, TReply::kError, TReply::kOk, TReply::kOk}).second, "");
  EXPECT_EQ(RunSequence({TReply::kNone}), std::make_pair(Steps{"ATE0V1Q0"}, std::string("No answer from modem")));
  EXPECT_EQ(RunSequence({TReply::kOk, TReply::kNone, TReply::kNone}).second, "No answer from modem");
  EXPECT_EQ(RunSequence({TReply::kOk, TReply::kOk, TReply::kOk, TReply::kNone}).second, "No answer from modem");
}

TEST(CallerIdSequence, TheResetMayTakeOverFiveSeconds) {
  ModemCommands::TCallerIdSequence sequence;
  const TLineTimings timings;
  EXPECT_EQ(sequence.TimeoutMs(timings), timings.commandTimeoutMs);
  sequence.HandleReply(TReply::kOk);
  ASSERT_STREQ(sequence.Command(), "ATZ");
  EXPECT_GT(sequence.TimeoutMs(timings), 5000);
  sequence.HandleReply(TReply::kOk);
  EXPECT_EQ(sequence.TimeoutMs(timings), timings.commandTimeoutMs);
}
