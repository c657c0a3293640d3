#pragma once

#include <QObject>
#include <deque>
#include <functional>

#include "remote/remote_action.h"
#include "remote/remote_profile.h"

// Forwards calls one after another, each with the profile and the call data
// it was handed over with, in the order they came: they share one
// conversation, and a forwarding waits (for the bus, the target, its fixed
// waits) while the event loop runs. Handing a call over never waits: the
// forwarding runs from the event loop, so the call handling is free for the
// next call at once.
class TForwardingQueue {
 public:
  using TForward = std::function<void(const remote::TRemoteProfile&, const TCallData&)>;

  explicit TForwardingQueue(TForward forward);

  // Numbers the call's forwarding (from 1, in the order of hand-off) and
  // returns the number, which the forwarding's outcome carries.
  std::uint64_t Add(remote::TRemoteProfile profile, TCallData call);

  // Forwardings handed over and not yet done, the running one included.
  std::size_t Pending() const { return pending_.size() + (running_ ? 1 : 0); }

 private:
  struct TJob {
    remote::TRemoteProfile profile;
    TCallData call;
  };
  void RunPending();

  TForward forward_;
  std::deque<TJob> pending_;
  bool running_ = false;
  std::uint64_t added_ = 0;
  QObject context_;  // ends a run asked for but not yet started, with the queue
};
