#include "remote/forwarding_outcome.h"

#include "remote/text_routines.h"

namespace {

std::string What(const TForwardingOutcome& o) {
  using Kind = TForwardingOutcome::Kind;
  const std::string status = std::to_string(o.Status);
  switch (o.What) {
    case Kind::DBusSent:
      return "sent " + status + (o.Status == 1 ? " message" : " messages") + " to " + o.Detail +
             " on the session bus";
    case Kind::DBusNotOpen: return o.Detail + " is not running on the session bus; nothing sent";
    case Kind::ProgramStarted: return "started " + o.Detail;
    case Kind::ProgramNotStarted: return "could not start " + o.Detail;
    case Kind::ScriptNotWritten: return "could not write the script: " + o.Detail;
    case Kind::ScriptNotStarted: return "could not start the script: " + o.Detail;
    case Kind::ScriptEnded: return "script ended with exit status " + status;
    case Kind::ScriptKilled: return "script was killed by signal " + status;
  }
  return {};
}

}  // namespace

bool TForwardingOutcome::Failed() const {
  switch (What) {
    case Kind::DBusSent:
    case Kind::ProgramStarted: return false;
    case Kind::ScriptEnded: return Status != 0;
    default: return true;
  }
}

std::string DescribeOutcome(const TForwardingOutcome& o) {
  std::string line = "#" + std::to_string(o.Forwarding) + " " + o.CallerID + " \"" +
                     o.CallerName + "\": " + What(o);
  const bool scriptEnd = o.What == TForwardingOutcome::Kind::ScriptEnded ||
                         o.What == TForwardingOutcome::Kind::ScriptKilled;
  if (scriptEnd && !o.Detail.empty()) line += ": " + o.Detail;
  return WithoutControlCharacters(line);
}
