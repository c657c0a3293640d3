#pragma once

#include <QString>
#include <vector>

#include "telephony/line_notice.h"

// The ring timeout given by a "RingTimeout" setting (seconds, fractions
// allowed), kept between 2 seconds and one hour; the default of 8 seconds
// when the text is empty or not a positive number. Below 2 seconds a call
// would be over before the call handling's one-second collection wait ends.
int RingTimeoutMsFromSetting(const QString& seconds);

// One event for the line monitor's listeners.
struct TCallEvent {
  enum class Kind { kCallState, kCallerId };
  Kind kind = Kind::kCallState;
  QString state;   // kCallState: "OFFERING" or "IDLE"
  QString number;  // kCallerId
  QString name;    // kCallerId
  int flags = 0;   // kCallerId: CallerIdFlags bits
  TCallOutcome outcome = TCallOutcome::kUnknown;  // with "IDLE": how the call ended

  bool operator==(const TCallEvent&) const = default;
};

// Follows the calls on one line from what the line says, the same for every
// kind of line. A call starts with its first ring or caller-ID data and is
// over when the line says so or the ring timeout passes without a ring; the
// owner runs the timer and calls RingTimeoutExpired(). A caller-ID block
// that follows a ring after the current call's own caller ID belongs to a
// new call. No I/O and no clock here.
class TCallTracker {
 public:
  static constexpr int kDefaultRingTimeoutMs = 8000;
  static constexpr int kMinRingTimeoutMs = 2000;

  struct TResult {
    std::vector<TCallEvent> events;
    bool restartRingTimer = false;  // (re)arm the ring timeout now
    bool stopRingTimer = false;     // the call ended by the line's word
    // A call ended that rang at least twice without any caller-ID data: the
    // device may have lost its caller-ID mode.
    bool callerIdMissing = false;
  };

  TResult Handle(const TLineNotice& notice);
  // The ring timeout passed: ends the current call with "IDLE", if any.
  TResult RingTimeoutExpired();
  // Forgets the current call without an event (the line was closed).
  void Reset();

  bool InCall() const { return inCall_; }

 private:
  void StartCall();
  void EndCall(TCallOutcome outcome, TResult& result);
  void Offer(TResult& result);
  void TakeCallerId(const TLineNotice& notice, TResult& result);

  bool inCall_ = false;
  bool offered_ = false;
  int rings_ = 0;
  bool callerIdSeen_ = false;
  // A ring came after this call's caller ID: further caller ID is another call's.
  bool callerIdClosed_ = false;
  bool numberTaken_ = false;
  bool nameTaken_ = false;
  bool answered_ = false;
};
