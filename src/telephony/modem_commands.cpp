#include "telephony/modem_commands.h"

#include <QElapsedTimer>
#include <algorithm>

#include "platform/serial_device.h"
#include "telephony/line_error.h"

namespace ModemCommands {

TReply FinalReply(const QByteArray& answer, qsizetype* replyEnd) {
  // The last line counts even without its line end: the reply is complete.
  qsizetype start = 0;
  while (start < answer.size()) {
    qsizetype end = start;
    while (end < answer.size() && answer.at(end) != '\r' && answer.at(end) != '\n') ++end;
    const QByteArray code = answer.mid(start, end - start).trimmed();
    const TReply reply = code == "OK" ? TReply::kOk : code == "ERROR" ? TReply::kError : TReply::kNone;
    if (reply != TReply::kNone) {
      if (replyEnd) *replyEnd = std::min(end + 1, answer.size());
      return reply;
    }
    start = end + 1;
  }
  return TReply::kNone;
}

TReply Send(platform::TSerialDevice& device, const char* command, int timeoutMs, QByteArray* unread) {
  if (unread) unread->clear();
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
    qsizetype replyEnd = 0;
    const TReply reply = FinalReply(answer, &replyEnd);
    if (reply != TReply::kNone && unread) *unread = answer.mid(replyEnd);
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

void EnableCallerId(platform::TSerialDevice& device, QByteArray* unread) {
  TCallerIdSequence sequence;
  while (!sequence.Finished()) sequence.HandleReply(Send(device, sequence.Command(), kCommandTimeoutMs, unread));
  if (sequence.Failure()) throw ELineError(sequence.Failure());
}

}  // namespace ModemCommands
