#pragma once

#include <QByteArray>

namespace platform {
class TSerialDevice;
}

// The AT command dialogue with a caller-ID modem.
namespace ModemCommands {

constexpr const char* kProbe = "AT";
constexpr const char* kReset = "ATZ";
constexpr const char* kEnableCallerId = "AT+VCID=1";
constexpr const char* kEnableCallerIdAlternative = "AT#CID=1";
constexpr char kCommandEnd = '\r';

// How long a probed device has to answer "AT", and how long each command
// of the opening sequence may take.
constexpr int kProbeTimeoutMs = 500;
constexpr int kCommandTimeoutMs = 2000;

enum class TReply { kNone, kOk, kError };

// The final result code within `answer` (all bytes received so far),
// kNone while there is none. Command echoes and other lines are skipped.
// `replyEnd`, when given and a code is found, is set to where the bytes
// after the code's line begin: a RING may follow in the same read.
TReply FinalReply(const QByteArray& answer, qsizetype* replyEnd = nullptr);

// The opening sequence: reset, then "AT+VCID=1", falling back to
// "AT#CID=1" when the modem answers ERROR. Driven by the replies; no I/O.
class TCallerIdSequence {
 public:
  // The command to send now; nullptr once the sequence is over.
  const char* Command() const;
  // The reply to the current command (kNone: silence within the time bound).
  void HandleReply(TReply reply);
  bool Finished() const { return step_ == TStep::kDone; }
  // After the end: nullptr when caller ID is on, else the user's message.
  const char* Failure() const { return failure_; }

 private:
  enum class TStep { kReset, kEnable, kEnableAlternative, kDone };
  TStep step_ = TStep::kReset;
  const char* failure_ = nullptr;
};

// Sends `command` and waits up to `timeoutMs` for OK or ERROR; kNone when
// the modem stays silent or goes away. `unread` receives what came after
// the reply.
TReply Send(platform::TSerialDevice& device, const char* command, int timeoutMs, QByteArray* unread = nullptr);

// Runs TCallerIdSequence, waiting for each reply. Throws ELineError with
// the user's message on failure. `unread` receives what the modem sent
// after its last reply, for the monitoring that follows.
void EnableCallerId(platform::TSerialDevice& device, QByteArray* unread = nullptr);

}  // namespace ModemCommands
