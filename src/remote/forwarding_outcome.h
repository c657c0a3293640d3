#pragma once

#include <cstdint>
#include <string>

// What became of one forwarding of a call, for the user to look up later: a
// DDE link reports whether its messages were sent and whether the program
// it was asked to start came up; a script reports how it ended, which is
// known only once it has run (it is not waited for). One forwarding reports
// one or two outcomes (a start before a DDE link's "sent" or "not open").
struct TForwardingOutcome {
  enum class Kind {
    DBusSent,           // the conversation opened; Status messages were handed to the bus
    DBusNotOpen,        // no owner of the bus name (or no answer from the bus): nothing sent
    ProgramStarted,     // the EXE Path program was started
    ProgramNotStarted,  // the EXE Path program could not be started
    ScriptNotWritten,   // the script file could not be written
    ScriptNotStarted,   // the script host could not be started
    ScriptEnded,        // the script exited with exit status Status
    ScriptKilled,       // the script was ended by signal Status
  };

  Kind What = Kind::DBusNotOpen;
  // The bus name (DBus*), the program's path (Program*), or the reason of a
  // failure; for a finished script the last line it wrote to its standard
  // error ("" when none).
  std::string Detail;
  int Status = 0;
  // Which forwarding: numbered from 1 in the order they ran, and the call's
  // number and name as forwarded.
  std::uint64_t Forwarding = 0;
  std::string CallerID;
  std::string CallerName;

  // Whether the forwarding did not do what the profile asks.
  bool Failed() const;
};

// One line for the user, e.g. `#3 555-123-4567 "Jane Doe": script ended
// with exit status 127: sh: 1: notify-send: not found`. Holds no control
// characters.
std::string DescribeOutcome(const TForwardingOutcome& outcome);
