#include "telephony/modem_commands.h"

#include <gtest/gtest.h>

using ModemCommands::FinalReply;
using ModemCommands::TReply;

TEST(ModemReplies, FindTheFinalResultCodeAndWhereItEnds) {
  const struct {
    QByteArray answer;
    TReply reply;
    qsizetype end;  // -1: not asked for
  } cases[] = {
      {"ATZ\r\r\nOK\r\n", TReply::kOk, -1},
      {"AT+VCID=1\r\r\nERROR\r\n", TReply::kError, -1},
      {"\r\nOK", TReply::kOk, -1},  // no line end yet
      // The bytes after the reply are the modem's next lines.
      {"AT+VCID=1\r\r\nOK\r\n\r\nRING\r\n", TReply::kOk, 15},
      {"\r\nERROR", TReply::kError, 7},
      // Numeric codes of a modem left in V0.
      {"0\r", TReply::kOk, -1},
      {"ATQ0V1\r4\r", TReply::kError, -1},
      {"NMBR = 0\r\n10\r\n", TReply::kNone, -1},
      {"", TReply::kNone, -1},
      {"ATZ\r", TReply::kNone, -1},
      {"\r\nRING\r\n", TReply::kNone, -1},
      // Words that merely contain a result code are not one.
      {"NAME = OK\r\nBROKEN\r\nERRORS\r\n", TReply::kNone, -1},
  };
  for (const auto& c : cases) {
    qsizetype end = -1;
    EXPECT_EQ(c.end < 0 ? FinalReply(c.answer) : FinalReply(c.answer, &end), c.reply) << c.answer.toStdString();
    EXPECT_EQ(end, c.end) << c.answer.toStdString();
  }
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

TEST(CallerIdSequence, SendsEachCommandAfterTheLastOneWasAnswered) {
  using Steps = std::vector<std::string>;
  constexpr TReply kOk = TReply::kOk, kError = TReply::kError, kNone = TReply::kNone;
  const struct {
    std::vector<TReply> replies;
    Steps sent;
    std::string failure;
  } cases[] = {
      {{kOk, kOk, kOk, kOk}, {"ATE0V1Q0", "ATZ", "ATE0V1Q0", "AT+VCID=1"}, ""},
      {{kOk, kOk, kOk, kError, kOk}, {"ATE0V1Q0", "ATZ", "ATE0V1Q0", "AT+VCID=1", "AT#CID=1"}, ""},
      {{kOk, kOk, kOk, kError, kError},
       {"ATE0V1Q0", "ATZ", "ATE0V1Q0", "AT+VCID=1", "AT#CID=1"},
       "Caller ID not supported by modem"},
      // A stored quiet profile makes the reset silent; the next command still gets an answer.
      {{kOk, kNone, kOk, kOk}, {"ATE0V1Q0", "ATZ", "ATE0V1Q0", "AT+VCID=1"}, ""},
      {{kOk, kError, kOk, kOk}, {"ATE0V1Q0", "ATZ", "ATE0V1Q0", "AT+VCID=1"}, ""},
      // No other command may go unanswered.
      {{kNone}, {"ATE0V1Q0"}, "No answer from modem"},
      {{kOk, kNone, kNone}, {"ATE0V1Q0", "ATZ", "ATE0V1Q0"}, "No answer from modem"},
      {{kOk, kOk, kOk, kNone}, {"ATE0V1Q0", "ATZ", "ATE0V1Q0", "AT+VCID=1"}, "No answer from modem"},
  };
  for (const auto& c : cases) EXPECT_EQ(RunSequence(c.replies), std::make_pair(c.sent, c.failure)) << c.failure;
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
