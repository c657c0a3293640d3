#include "app/remote_action_link.h"

#include "app/app_globals.h"
#include "app/quorvel_form.h"
#include "calls/caller_desk.h"
#include "remote/remote_action.h"

TRemoteActionLink::TRemoteActionLink(TQuorvelForm& form, const TRemoteProfileFields& profile)
    : form_(form) {
  TCallHandler& handler = form.Calls->Handler();
  // The call data is read at each expansion: events of the call (or the
  // line going idle) during the action's waits show in later lines.
  TCallData call;
  call.CallerID = [&handler] { return handler.CurrentCallerID(); };
  call.CallerName = [&handler] { return handler.CurrentCallerName(); };
  call.LineName = [&form] { return form.LineMonitor.LineName().toStdString(); };
  action_ = std::make_unique<TRemoteAction>(profile, form.DDEClient, std::move(call),
                                            AppDirectory());
  handler.RunRemoteAction = [action = action_.get()] { action->RunRemoteAction(); };
}

TRemoteActionLink::~TRemoteActionLink() {
  if (form_.Calls) form_.Calls->Handler().RunRemoteAction = nullptr;
}
