#include "app/remote_action_link.h"

#include <cstdio>

#include "app/app_globals.h"
#include "app/quorvel_form.h"
#include "calls/caller_desk.h"
#include "remote/forwarding_queue.h"
#include "remote/remote_action.h"
#include "remote/setup_dialog.h"

namespace {
constexpr char kOutcomePrefix[] = "quorvel: forwarding: ";
}  // namespace

void WriteOutcomeToStandardError(const TForwardingOutcome& outcome) {
  const std::string line = kOutcomePrefix + DescribeOutcome(outcome) + "\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
}

TRemoteActionLink::TRemoteActionLink(TQuorvelForm& form, const TfDDESetup& setup)
    : form_(form),
      action_(std::make_unique<TRemoteAction>(form.Conversation(), DataDirectory())),
      queue_(std::make_unique<TForwardingQueue>(
          [action = action_.get()](const remote::TRemoteProfile& profile, const TCallData& call) {
            action->RunRemoteAction(profile, call);
          })) {
  action_->SetOutcomeHook([this](const TForwardingOutcome& outcome) {
    WriteOutcomeToStandardError(outcome);
    if (OnOutcome) OnOutcome(outcome);
  });
  TCallHandler& handler = form.Desk()->Handler();
  // The profile and the call are taken as they are now; what happens on
  // the line or in the dialog afterwards belongs to later calls.
  handler.RunRemoteAction = [this, &handler, &form, &setup] {
    const std::uint64_t forwarding =
        queue_->Add(setup.Profile(), TCallData{handler.CurrentCallerID(), handler.CurrentCallerName(),
                                               form.Line().LineName().toStdString()});
    if (OnHandOff) OnHandOff(forwarding);
  };
}

TRemoteActionLink::~TRemoteActionLink() {
  if (form_.Desk()) form_.Desk()->Handler().RunRemoteAction = nullptr;
}
