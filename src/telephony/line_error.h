#pragma once

#include <QCoreApplication>
#include <QString>
#include <stdexcept>

// A refused property write of the line monitor. what() is a message for the
// user, for example "Line in use by another program" (English: shown
// through LineMessages::Shown).
class ELineError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Messages of the line monitor's refusals.
namespace LineMessages {
constexpr char kLineInUse[] = QT_TRANSLATE_NOOP("LineMessages", "Line in use by another program");
constexpr char kNoAnswer[] = QT_TRANSLATE_NOOP("LineMessages", "No answer from modem");
constexpr char kCallerIdUnsupported[] = QT_TRANSLATE_NOOP("LineMessages", "Caller ID not supported by modem");
constexpr char kNoLineSelected[] = QT_TRANSLATE_NOOP("LineMessages", "No line selected");
constexpr char kLineStillOpen[] = QT_TRANSLATE_NOOP("LineMessages", "Close the open line before selecting another");
constexpr char kUnsupportedMediaMode[] = QT_TRANSLATE_NOOP("LineMessages", "Media mode not supported (only 16)");
constexpr char kUnsupportedPrivilege[] = QT_TRANSLATE_NOOP("LineMessages", "Call privilege not supported (only 6)");

// A message of the line in the language shown; one it does not know (a
// system error's text) as it is.
inline QString Shown(const char* message) { return QCoreApplication::translate("LineMessages", message); }
}  // namespace LineMessages
