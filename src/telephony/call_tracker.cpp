#include "telephony/call_tracker.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kMinRingTimeoutMs = 100;
constexpr int kMaxRingTimeoutMs = 3600 * 1000;

constexpr const char* kStateOffering = "OFFERING";
constexpr const char* kStateIdle = "IDLE";
constexpr const char* kPrivate = "P";
constexpr const char* kOutOfArea = "O";

TCallEvent CallState(const char* state) {
  TCallEvent event;
  event.kind = TCallEvent::Kind::kCallState;
  event.state = QString::fromLatin1(state);
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

}  // namespace

int RingTimeoutMsFromSetting(const QString& seconds) {
  bool ok = false;
  const double value = seconds.trimmed().toDouble(&ok);
  if (!ok || !std::isfinite(value) || value <= 0) return TCallTracker::kDefaultRingTimeoutMs;
  const double ms = value * 1000.0;
  if (ms > kMaxRingTimeoutMs) return kMaxRingTimeoutMs;
  return std::max(kMinRingTimeoutMs, static_cast<int>(ms));
}

TCallTracker::TResult TCallTracker::HandleLine(const TModemLine& line) {
  TResult result;
  if (line.kind == TModemLine::Kind::kOther) return result;

  // Any ring or caller-ID line belongs to a call; caller ID may come first.
  inCall_ = true;
  result.restartRingTimer = true;
  switch (line.kind) {
    case TModemLine::Kind::kRing:
      if (!ringSeen_) {
        ringSeen_ = true;
        result.events.push_back(CallState(kStateOffering));
      }
      break;
    case TModemLine::Kind::kNumber:
      if (line.value == kPrivate) {
        result.events.push_back(CallerId(QString(), QString(), CallerIdFlags::kBlocked));
      } else if (line.value == kOutOfArea) {
        result.events.push_back(CallerId(QString(), QString(), CallerIdFlags::kOutOfArea));
      } else if (!line.value.isEmpty()) {
        result.events.push_back(CallerId(line.value, QString(), CallerIdFlags::kAddress));
      }
      break;
    case TModemLine::Kind::kName:
      if (!line.value.isEmpty() && line.value != kPrivate && line.value != kOutOfArea) {
        result.events.push_back(CallerId(QString(), line.value, CallerIdFlags::kName));
      }
      break;
    case TModemLine::Kind::kOtherCallerId:
    case TModemLine::Kind::kOther:
      break;
  }
  return result;
}

std::vector<TCallEvent> TCallTracker::RingTimeoutExpired() {
  std::vector<TCallEvent> events;
  if (inCall_) events.push_back(CallState(kStateIdle));
  Reset();
  return events;
}

void TCallTracker::Reset() {
  inCall_ = false;
  ringSeen_ = false;
}
