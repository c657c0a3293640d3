#pragma once

#include <QMetaType>
#include <QString>

// Caller-party flags as OnCallerID reports them.
namespace CallerIdFlags {
constexpr int kBlocked = 0x1;     // the number is withheld
constexpr int kOutOfArea = 0x2;   // the number is not available
constexpr int kName = 0x4;        // Name is valid
constexpr int kAddress = 0x8;     // Number is valid
}  // namespace CallerIdFlags

// How a call ended, as far as the line tells: a modem says nothing about
// it, a network call monitor does.
enum class TCallOutcome { kUnknown, kAnswered, kMissed };
Q_DECLARE_METATYPE(TCallOutcome)

// One thing a line said about calls, in terms common to every kind of line.
// Each kind has a parser that turns its bytes into these; the call tracking
// turns them into the monitor's events.
struct TLineNotice {
  enum class Kind {
    kRing,          // the phone rang once
    kNumber,        // the caller's number
    kName,          // the caller's name
    kCallerIdData,  // other caller-ID data (date, time, ...): part of a call, no event
    kAnswered,      // the call was picked up
    kEnded,         // the call is over
    kOther,         // nothing about calls (command echoes, replies, garbage)
  };
  // For a number or a name: sent, withheld by the caller, or not available.
  enum class Presence { kSent, kWithheld, kUnavailable };

  Kind kind = Kind::kOther;
  QString value;  // kNumber, kName with kSent: the sanitised text
  Presence presence = Presence::kSent;

  bool operator==(const TLineNotice&) const = default;
};
