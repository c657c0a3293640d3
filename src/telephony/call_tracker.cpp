#include "telephony/call_tracker.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kMaxRingTimeoutMs = 3600 * 1000;
// Rings without any caller ID after which the modem's caller-ID mode is
// taken to be lost: the data comes between the first and second ring.
constexpr int kRingsBeforeCallerIdIsMissed = 2;

constexpr const char* kStateOffering = "OFFERING";
constexpr const char* kStateIdle = "IDLE";
// Shown for a name the caller withheld or the network could not deliver,
// and for a number that is not available, so a call never keeps showing
// the previous caller's data.
constexpr const char* kPrivateText = "PRIVATE";
constexpr const char* kOutOfAreaText = "OUT OF AREA";

using Kind = TLineNotice::Kind;
using Presence = TLineNotice::Presence;

TCallEvent CallState(const char* state, TCallOutcome outcome = TCallOutcome::kUnknown) {
  TCallEvent event;
  event.kind = TCallEvent::Kind::kCallState;
  event.state = QString::fromLatin1(state);
  event.outcome = outcome;
  return event;
}

TCallEvent CallerId(const QString& number, const QString& name, int flags) {
  TCallEvent event;
  event.kind = TCallEvent::Kind::kCallerId;
  event.number = number;
  event.name = name;
  event.flags = flags;
  return event;
}

TCallEvent NumberEvent(const TLineNotice& notice) {
  switch (notice.presence) {
    case Presence::kWithheld: return CallerId(QString(), QString(), CallerIdFlags::kBlocked);
    case Presence::kUnavailable:
      return CallerId(QString::fromLatin1(kOutOfAreaText), QString(),
                      CallerIdFlags::kAddress | CallerIdFlags::kOutOfArea);
    case Presence::kSent: break;
  }
  return CallerId(notice.value, QString(), CallerIdFlags::kAddress);
}

TCallEvent NameEvent(const TLineNotice& notice) {
  const QString name = notice.presence == Presence::kWithheld      ? QString::fromLatin1(kPrivateText)
                       : notice.presence == Presence::kUnavailable ? QString::fromLatin1(kOutOfAreaText)
                                                                   : notice.value;
  return CallerId(QString(), name, CallerIdFlags::kName);
}

// An empty "NMBR = " carries nothing: no event, and the call may still
// deliver its number.
bool CarriesData(const TLineNotice& notice) {
  return notice.presence != Presence::kSent || !notice.value.isEmpty();
}

}  // namespace

int RingTimeoutMsFromSetting(const QString& seconds) {
  bool ok = false;
  const double value = seconds.trimmed().toDouble(&ok);
  if (!ok || !std::isfinite(value) || value <= 0) return TCallTracker::kDefaultRingTimeoutMs;
  const double ms = value * 1000.0;
  if (ms > kMaxRingTimeoutMs) return kMaxRingTimeoutMs;
  return std::max(TCallTracker::kMinRingTimeoutMs, static_cast<int>(ms));
}

TCallTracker::TResult TCallTracker::Handle(const TLineNotice& notice) {
  TResult result;
  switch (notice.kind) {
    case Kind::kOther:
      return result;
    case Kind::kRing:
      if (!inCall_) StartCall();
      Offer(result);
      ++rings_;
      if (callerIdSeen_) callerIdClosed_ = true;
      break;
    case Kind::kNumber:
    case Kind::kName:
    case Kind::kCallerIdData:
      TakeCallerId(notice, result);
      break;
    case Kind::kAnswered:
      if (!inCall_) return result;
      answered_ = true;
      break;
    case Kind::kEnded:
      if (inCall_) EndCall(answered_ ? TCallOutcome::kAnswered : TCallOutcome::kMissed, result);
      result.stopRingTimer = true;
      return result;
  }
  result.restartRingTimer = true;
  return result;
}

void TCallTracker::TakeCallerId(const TLineNotice& notice, TResult& result) {
  if (inCall_ && callerIdClosed_) {
    // The previous caller hung up and the next one rang within the ring
    // timeout: this caller ID opens a call of its own.
    EndCall(TCallOutcome::kUnknown, result);
    StartCall();
    Offer(result);
  } else if (!inCall_) {
    // Caller ID may come before the first ring (as in the UK).
    StartCall();
  }
  callerIdSeen_ = true;
  if (!CarriesData(notice)) return;
  // Some networks repeat a field within one call (the second NMBR "O"):
  // the first one is the caller's.
  if (notice.kind == Kind::kNumber && !numberTaken_) {
    numberTaken_ = true;
    result.events.push_back(NumberEvent(notice));
  } else if (notice.kind == Kind::kName && !nameTaken_) {
    nameTaken_ = true;
    result.events.push_back(NameEvent(notice));
  }
}

TCallTracker::TResult TCallTracker::RingTimeoutExpired() {
  TResult result;
  if (inCall_) EndCall(TCallOutcome::kUnknown, result);
  return result;
}

void TCallTracker::StartCall() {
  Reset();
  inCall_ = true;
}

void TCallTracker::Offer(TResult& result) {
  if (offered_) return;
  offered_ = true;
  result.events.push_back(CallState(kStateOffering));
}

void TCallTracker::EndCall(TCallOutcome outcome, TResult& result) {
  result.events.push_back(CallState(kStateIdle, outcome));
  result.callerIdMissing = result.callerIdMissing || (rings_ >= kRingsBeforeCallerIdIsMissed && !callerIdSeen_);
  Reset();
}

void TCallTracker::Reset() { *this = TCallTracker(); }
