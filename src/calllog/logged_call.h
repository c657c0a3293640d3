#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

// One call as the call log keeps it.

// How a call ended, where the line tells; most modems cannot.
enum class TCallEnding { kUnknown, kAnswered, kMissed };

// The mode the program was in when the call was handled.
enum class TCallMode { kActive, kPassive };

// What became of a call forwarded in Passive mode.
enum class TForwardingKind {
  kNone,            // not forwarded (Active mode, or nothing reported)
  kDBusSent,        // the target was on the bus and was sent the call
  kNotOpen,         // the target could not be reached
  kProgramStarted,  // the target program was started
  kStartError,      // the target program or the script could not be started
  kScriptExit,      // the script ended; detail holds the status and its last error line
};

struct TCallForwarding {
  TForwardingKind kind = TForwardingKind::kNone;
  QString detail;

  bool operator==(const TCallForwarding&) const = default;
};

struct TLoggedCall {
  qint64 id = 0;             // row id; 0 until stored
  QDateTime startUtc;        // first caller-ID event of the call
  int utcOffsetSeconds = 0;  // local time's offset from UTC at that moment
  QString line;
  QString numberReceived;    // as the line sent it; "" when it sent none
  QString numberDisplayed;   // as shown and looked up ("BLOCKED" when withheld)
  QString networkName;       // the name the network sent
  QString matchedName;       // the stored caller it matched; "" when none
  bool withheld = false;
  bool outOfArea = false;
  TCallEnding ending = TCallEnding::kUnknown;
  std::optional<int> durationSeconds;
  TCallMode mode = TCallMode::kActive;
  TCallForwarding forwarding;

  bool operator==(const TLoggedCall&) const = default;

  // The name to show: the stored caller's, else the network's.
  QString ShownName() const { return matchedName.isEmpty() ? networkName : matchedName; }
  // Local time of the call as it was where the call came in.
  QDateTime LocalStart() const { return startUtc.toOffsetFromUtc(utcOffsetSeconds); }
};

// The words the log file stores for the enumerations above (stable: other
// tools read the file) and back; an unknown word gives the first value.
QString StoredWord(TCallEnding ending);
QString StoredWord(TCallMode mode);
QString StoredWord(TForwardingKind kind);
TCallEnding EndingFromWord(const QString& word);
TCallMode ModeFromWord(const QString& word);
TForwardingKind ForwardingFromWord(const QString& word);
