#include "telephony/modem_commands.h"

#include <algorithm>

#include "telephony/line_error.h"

namespace ModemCommands {

TReply FinalReply(const QByteArray& answer, qsizetype* replyEnd) {
  // The last line counts even without its line end: the reply is complete.
  qsizetype start = 0;
  while (start < answer.size()) {
    qsizetype end = start;
    while (end < answer.size() && answer.at(end) != '\r' && answer.at(end) != '\n') ++end;
    const QByteArray code = answer.mid(start, end - start).trimmed();
    const TReply reply = (code == "OK" || code == "0")      ? TReply::kOk
                         : (code == "ERROR" || code == "4") ? TReply::kError
                                                            : TReply::kNone;
    if (reply != TReply::kNone) {
      if (replyEnd) *replyEnd = std::min(end + 1, answer.size());
      return reply;
    }
    start = end + 1;
  }
  return TReply::kNone;
}

const char* TCallerIdSequence::Command() const {
  switch (step_) {
    case TStep::kAttention: return kVerbose;
    case TStep::kReset: return kReset;
    case TStep::kVerbose: return kVerbose;
    case TStep::kEnable: return kEnableCallerId;
    case TStep::kEnableAlternative: return kEnableCallerIdAlternative;
    case TStep::kDone: break;
  }
  return nullptr;
}

int TCallerIdSequence::TimeoutMs(const TLineTimings& timings) const {
  return step_ == TStep::kReset ? timings.resetTimeoutMs : timings.commandTimeoutMs;
}

void TCallerIdSequence::HandleReply(TReply reply) {
  if (step_ == TStep::kDone) return;
  // A modem whose stored profile is quiet says nothing to the reset; the
  // next command finds out whether it is still there.
  if (reply == TReply::kNone && step_ != TStep::kReset) {
    failure_ = LineMessages::kNoAnswer;
    step_ = TStep::kDone;
    return;
  }
  switch (step_) {
    case TStep::kAttention:
      step_ = TStep::kReset;
      break;
    case TStep::kReset:
      // A refused reset is no reason to give up either: caller ID may work anyway.
      step_ = TStep::kVerbose;
      break;
    case TStep::kVerbose:
      step_ = TStep::kEnable;
      break;
    case TStep::kEnable:
      if (reply == TReply::kOk) enableCommand_ = kEnableCallerId;
      step_ = reply == TReply::kOk ? TStep::kDone : TStep::kEnableAlternative;
      break;
    case TStep::kEnableAlternative:
      if (reply == TReply::kError) failure_ = LineMessages::kCallerIdUnsupported;
      else enableCommand_ = kEnableCallerIdAlternative;
      step_ = TStep::kDone;
      break;
    case TStep::kDone:
      break;
  }
}

}  // namespace ModemCommands
