#pragma once

#include <stdexcept>

// A refused property write of the line monitor. what() is a message for the
// user, for example "Line in use by another program".
class ELineError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Messages of the line monitor's refusals.
namespace LineMessages {
constexpr const char* kLineInUse = "Line in use by another program";
constexpr const char* kNoAnswer = "No answer from modem";
constexpr const char* kCallerIdUnsupported = "Caller ID not supported by modem";
constexpr const char* kNoLineSelected = "No line selected";
constexpr const char* kLineStillOpen = "Close the open line before selecting another";
constexpr const char* kUnsupportedMediaMode = "Media mode not supported (only 16)";
constexpr const char* kUnsupportedPrivilege = "Call privilege not supported (only 6)";
}  // namespace LineMessages
