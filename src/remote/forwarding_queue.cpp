#include "remote/forwarding_queue.h"

#include <exception>

#include "platform/message_dialogs.h"

TForwardingQueue::TForwardingQueue(TForward forward) : forward_(std::move(forward)) {}

std::uint64_t TForwardingQueue::Add(remote::TRemoteProfile profile, TCallData call) {
  call.Forwarding = ++added_;
  pending_.push_back({std::move(profile), std::move(call)});
  // A run under way (this may be nested inside one of its waits) takes the
  // new call in turn.
  if (!running_ && pending_.size() == 1) {
    QMetaObject::invokeMethod(&context_, [this] { RunPending(); }, Qt::QueuedConnection);
  }
  return added_;
}

void TForwardingQueue::RunPending() {
  if (running_) return;
  running_ = true;
  while (!pending_.empty()) {
    const TJob job = std::move(pending_.front());
    pending_.pop_front();
    // Nothing may leave this event handler; one failed forwarding does not
    // stop the next.
    try {
      forward_(job.profile, job.call);
    } catch (const std::exception& error) {
      platform::ShowGeneralErrorReport(error);
    }
  }
  running_ = false;
}
