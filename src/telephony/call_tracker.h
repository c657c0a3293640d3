#pragma once

#include <QString>
#include <vector>

#include "telephony/caller_id_parser.h"

// The ring timeout given by a "RingTimeout" setting (seconds, fractions
// allowed), kept between 0.1 s and one hour; the default of 8 seconds when
// the text is empty or not a positive number.
int RingTimeoutMsFromSetting(const QString& seconds);

// One event for the line monitor's listeners.
struct TCallEvent {
  enum class Kind { kCallState, kCallerId };
  Kind kind = Kind::kCallState;
  QString state;   // kCallState: "OFFERING" or "IDLE"
  QString number;  // kCallerId
  QString name;    // kCallerId
  int flags = 0;   // kCallerId: CallerIdFlags bits

  bool operator==(const TCallEvent&) const = default;
};

// Follows the calls on one line from the modem's parsed lines. A call
// starts with its first RING or caller-ID line and is over when the ring
// timeout passes without another; the owner runs the timer and calls
// RingTimeoutExpired(). No I/O and no clock here.
class TCallTracker {
 public:
  static constexpr int kDefaultRingTimeoutMs = 8000;

  struct TResult {
    std::vector<TCallEvent> events;
    bool restartRingTimer = false;  // (re)arm the ring timeout now
  };

  TResult HandleLine(const TModemLine& line);
  // The ring timeout passed: ends the current call with "IDLE", if any.
  std::vector<TCallEvent> RingTimeoutExpired();
  // Forgets the current call without an event (the line was closed).
  void Reset();

  bool InCall() const { return inCall_; }

 private:
  bool inCall_ = false;
  bool ringSeen_ = false;
};
