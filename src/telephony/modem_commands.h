#pragma once

#include <QByteArray>

#include "telephony/line_timings.h"

// The AT command dialogue with a caller-ID modem. No I/O here.
namespace ModemCommands {

// Asks for verbose result codes without changing anything else, so a modem
// left quiet (Q1) or numeric (V0) by another program still answers.
constexpr const char* kProbe = "ATQ0V1";
// Echo off, verbose and not quiet: the state the monitoring reads.
constexpr const char* kVerbose = "ATE0V1Q0";
constexpr const char* kReset = "ATZ";
constexpr const char* kEnableCallerId = "AT+VCID=1";
constexpr const char* kEnableCallerIdAlternative = "AT#CID=1";
constexpr char kCommandEnd = '\r';

enum class TReply { kNone, kOk, kError };

// The final result code within `answer` (all bytes received so far),
// kNone while there is none; numeric codes ("0", "4") count as well.
// Command echoes and other lines are skipped. `replyEnd`, when given and a
// code is found, is set to where the bytes after the code's line begin: a
// RING may follow in the same read.
TReply FinalReply(const QByteArray& answer, qsizetype* replyEnd = nullptr);

// The opening sequence: get the modem's attention in verbose mode, reset
// it, verbose mode again (the reset may restore a quiet profile), then
// "AT+VCID=1", falling back to "AT#CID=1" when the modem answers ERROR.
// Driven by the replies.
class TCallerIdSequence {
 public:
  // The command to send now; nullptr once the sequence is over.
  const char* Command() const;
  // How long the current command may take to answer.
  int TimeoutMs(const TLineTimings& timings) const;
  // The reply to the current command (kNone: silence within the time bound).
  void HandleReply(TReply reply);
  bool Finished() const { return step_ == TStep::kDone; }
  // After the end: nullptr when caller ID is on, else the user's message.
  const char* Failure() const { return failure_; }
  // After a success: the command that switched caller ID on.
  const char* EnableCommand() const { return enableCommand_; }

 private:
  enum class TStep { kAttention, kReset, kVerbose, kEnable, kEnableAlternative, kDone };
  TStep step_ = TStep::kAttention;
  const char* failure_ = nullptr;
  const char* enableCommand_ = nullptr;
};

}  // namespace ModemCommands
