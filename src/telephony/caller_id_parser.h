#pragma once

#include <QByteArray>
#include <QString>

// Caller-party flags as OnCallerID reports them.
namespace CallerIdFlags {
constexpr int kBlocked = 0x1;     // the number is withheld
constexpr int kOutOfArea = 0x2;   // the number is not available
constexpr int kName = 0x4;        // Name is valid
constexpr int kAddress = 0x8;     // Number is valid
}  // namespace CallerIdFlags

// What one line from a caller-ID modem means.
struct TModemLine {
  enum class Kind {
    kRing,          // a ring
    kNumber,        // NMBR and its variants; value holds the number
    kName,          // NAME; value holds the name
    kOtherCallerId, // DATE, TIME, MESG: part of a caller-ID block, no event
    kOther,         // anything else (command echoes, OK, garbage)
  };
  Kind kind = Kind::kOther;
  QString value;  // sanitised; "P" (private) and "O" (out of area) as sent
};

// Longest number or name passed on, in characters.
constexpr int kMaxCallerTextChars = 80;

// Reads one line (without its line end) as a caller-ID modem formats it:
// "RING", "NMBR = 5551234", "NAME=JOHN DOE", ...
TModemLine ParseModemLine(const QByteArray& line);

// Caller-ID text comes from the network and is not trusted: decodes it
// (UTF-8, else Latin-1), removes control characters, trims blanks and cuts
// it to kMaxCallerTextChars characters without splitting a character.
QString SanitiseCallerText(const QByteArray& raw);
