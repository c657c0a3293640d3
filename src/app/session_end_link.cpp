#include "app/session_end_link.h"

#include <QCoreApplication>

#include "app/quorvel_form.h"
#include "platform/session_end.h"

TSessionEndLink::TSessionEndLink(platform::SessionEndWatcher& watcher) {
  connect(&watcher, &platform::SessionEndWatcher::SessionEnding, this, &TSessionEndLink::End);
  watcher.Start();
}

void TSessionEndLink::SetReadyForm(TQuorvelForm& form) { form_ = &form; }

void TSessionEndLink::End() {
  if (ended_) return;  // a second signal while the first is acted upon
  ended_ = true;
  if (form_) {
    form_->Exit();
  } else {
    // Ends every event loop running now and makes each later one return
    // at once, so the start runs through to its end without waiting.
    QCoreApplication::exit(0);
  }
}
