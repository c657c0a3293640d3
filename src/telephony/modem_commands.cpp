#include "telephony/modem_commands.h"

#include <QElapsedTimer>

#include "platform/serial_device.h"
#include "telephony/line_assembler.h"
#include "telephony/line_error.h"

namespace ModemCommands {

TReply FinalReply(const QByteArray& answer) {
  TLineAssembler assembler;
  // A final line end completes a reply that arrived without one so far.
  for (const QByteArray& line : assembler.Feed(answer + '\n')) {
    const QByteArray code = line.trimmed();
    if (code == "OK") return TReply::kOk;
    if (code == "ERROR") return TReply::kError;
  }
  return TReply::kNone;
}

TReply Send(platform::TSerialDevice& device, const char* command, int timeoutMs) {
  device.DiscardInput();
  if (!device.Write(QByteArray(command) + kCommandEnd)) return TReply::kNone;
  QByteArray answer;
  QElapsedTimer clock;
  clock.start();
  for (;;) {
    const qint64 left = timeoutMs - clock.elapsed();
    if (left <= 0) return TReply::kNone;
    bool lost = false;
    answer += device.ReadFor(static_cast<int>(left), &lost);
    const TReply reply = FinalReply(answer);
    if (reply != TReply::kNone || lost) return reply;
  }
}

const char* TCallerIdSequence::Command() const {
  switch (step_) {
    case TStep::kReset: return kReset;
    case TStep::kEnable: return kEnableCallerId;
    case TStep::kEnableAlternative: return kEnableCallerIdAlternative;
    case TStep::kDone: break;
  }
  return nullptr;
}

void TCallerIdSequence::HandleReply(TReply reply) {
  if (step_ == TStep::kDone) return;
  if (reply == TReply::kNone) {
    failure_ = LineMessages::kNoAnswer;
    step_ = TStep::kDone;
    return;
  }
  switch (step_) {
    case TStep::kReset:
      // A refused reset is no reason to give up: caller ID may work anyway.
      step_ = TStep::kEnable;
      break;
    case TStep::kEnable:
      step_ = reply == TReply::kOk ? TStep::kDone : TStep::kEnableAlternative;
      break;
    case TStep::kEnableAlternative:
      if (reply == TReply::kError) failure_ = LineMessages::kCallerIdUnsupported;
      step_ = TStep::kDone;
      break;
    case TStep::kDone:
      break;
  }
}

void EnableCallerId(platform::TSerialDevice& device) {
  TCallerIdSequence sequence;
  while (!sequence.Finished()) sequence.HandleReply(Send(device, sequence.Command(), kCommandTimeoutMs));
  if (sequence.Failure()) throw ELineError(sequence.Failure());
}

}  // namespace ModemCommands
