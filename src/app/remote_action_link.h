#pragma once

#include <cstdint>
#include <functional>
#include <memory>

class TQuorvelForm;
class TfDDESetup;
class TRemoteAction;
class TForwardingQueue;
struct TForwardingOutcome;

// Hands every call the call handling forwards in Passive mode to the
// forwarding of the current profile (the Remote Setup dialog's, as it stands
// when the call is handed over), talking through the main window's
// DDEClient. Calls are forwarded in turn, each with its own data. Each
// forwarding's outcome is written to standard error, which the desktop's
// journal keeps. Lives no longer than the form and the dialog; the hand-off
// is removed when it ends.
class TRemoteActionLink {
 public:
  TRemoteActionLink(TQuorvelForm& form, const TfDDESetup& setup);
  ~TRemoteActionLink();
  TRemoteActionLink(const TRemoteActionLink&) = delete;
  TRemoteActionLink& operator=(const TRemoteActionLink&) = delete;

  // Hears every forwarding's outcome too (after standard error), until the
  // link ends. Must not throw.
  std::function<void(const TForwardingOutcome&)> OnOutcome;
  // Hears the number of each call handed over, before its forwarding runs.
  // Must not throw.
  std::function<void(std::uint64_t)> OnHandOff;

 private:
  TQuorvelForm& form_;
  std::unique_ptr<TRemoteAction> action_;
  std::unique_ptr<TForwardingQueue> queue_;
};

// Writes "quorvel: forwarding: " and the outcome's description as one line
// to standard error.
void WriteOutcomeToStandardError(const TForwardingOutcome& outcome);
