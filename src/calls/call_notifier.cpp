#include "calls/call_notifier.h"

#include <QCoreApplication>

namespace {

// Notifications the desktop never reports closed are forgotten past this.
constexpr std::size_t kMaxRemembered = 64;

}  // namespace

TCallNotifier::TCallNotifier(platform::TDesktopNotifications& notifications)
    : notifications_(notifications) {
  actionConnection_ =
      QObject::connect(&notifications_, &platform::TDesktopNotifications::ActionInvoked,
                       &notifications_, [this](quint32 id, const QString& key) {
                         ActionInvoked(id, key);
                       });
  closedConnection_ = QObject::connect(&notifications_, &platform::TDesktopNotifications::Closed,
                                       &notifications_, [this](quint32 id) { Closed(id); });
}

TCallNotifier::~TCallNotifier() {
  QObject::disconnect(actionConnection_);
  QObject::disconnect(closedConnection_);
}

platform::TNotification TCallNotifier::NotificationFor(const TShownCall& call) {
  platform::TNotification notification;
  notification.summary = call.name.isEmpty() ? QCoreApplication::translate("TCallNotifier", "(Unknown)") : call.name;
  notification.body =
      call.line.isEmpty() ? call.number : QCoreApplication::translate("TCallNotifier", "%1 on %2").arg(call.number, call.line);
  notification.imageFile = call.pictureFile;
  notification.actions = QStringList{kShowAction, QCoreApplication::translate("TCallNotifier", "Show")};
  if (!call.known) notification.actions << kSaveAction << QCoreApplication::translate("TCallNotifier", "Save");
  return notification;
}

void TCallNotifier::CallShown(const TShownCall& call) {
  // The first notification of a call is updated only once the desktop has
  // said which it is; until then the latest update waits.
  if (waitingForId_) {
    heldBack_ = call;
    return;
  }
  Send(call);
}

void TCallNotifier::Send(const TShownCall& call) {
  if (currentId_ == 0) waitingForId_ = true;
  if (currentId_ != 0) Remember(currentId_, call);
  const int serial = callSerial_;
  notifications_.Send(NotificationFor(call), currentId_,
                      [this, alive = std::weak_ptr<bool>(alive_), serial, call](quint32 id) {
                        if (alive.lock()) Sent(serial, id, call);
                      });
}

void TCallNotifier::Sent(int callSerial, quint32 id, const TShownCall& call) {
  if (id != 0) Remember(id, call);
  if (callSerial != callSerial_) return;  // an earlier call's notification
  if (currentId_ == 0) currentId_ = id;
  waitingForId_ = false;
  if (heldBack_) {
    const TShownCall next = *heldBack_;
    heldBack_.reset();
    Send(next);
  }
}

void TCallNotifier::CallEnded() {
  ++callSerial_;
  currentId_ = 0;
  waitingForId_ = false;
  heldBack_.reset();
}

void TCallNotifier::Remember(quint32 id, const TShownCall& call) {
  if (!shown_.count(id)) {
    shownOrder_.push_back(id);
    if (shownOrder_.size() > kMaxRemembered) {
      shown_.erase(shownOrder_.front());
      shownOrder_.pop_front();
    }
  }
  shown_[id] = call;
}

void TCallNotifier::ActionInvoked(quint32 id, const QString& key) {
  const auto it = shown_.find(id);
  if (it == shown_.end()) return;  // another program's notification
  if (key == kShowAction) {
    if (onShow) onShow();
  } else if (key == kSaveAction && !it->second.known) {
    if (onSave) onSave(it->second.name, it->second.number);
  }
}

void TCallNotifier::Closed(quint32 id) {
  if (shown_.erase(id)) std::erase(shownOrder_, id);
  if (id == currentId_) currentId_ = 0;
}
