#pragma once

#include <QMetaObject>
#include <QString>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>

#include "calls/shown_call.h"
#include "platform/desktop_notifications.h"

// A desktop notification for each call shown, beside the window. A call has
// one notification, updated in place while its data grows (a name that
// arrives after the number); the next call, once the line has been idle,
// gets a new one. Its actions: "Show" raises the window, and for an unknown
// caller "Save" stores that caller as the "Save to database" button does.
// Nothing waits for the desktop: the notification follows the window.
class TCallNotifier {
 public:
  inline static const QString kShowAction = QStringLiteral("show");
  inline static const QString kSaveAction = QStringLiteral("save");

  explicit TCallNotifier(platform::TDesktopNotifications& notifications);
  ~TCallNotifier();
  TCallNotifier(const TCallNotifier&) = delete;
  TCallNotifier& operator=(const TCallNotifier&) = delete;

  // The call's notification, sent or updated.
  void CallShown(const TShownCall& call);
  // The line went idle: the call is over.
  void CallEnded();

  // The user chose "Show", or "Save" for the unknown caller `name`, `number`.
  // Set by the owner; each may be empty.
  std::function<void()> onShow;
  std::function<void(const QString& name, const QString& number)> onSave;

  // The notification that tells of `call`.
  static platform::TNotification NotificationFor(const TShownCall& call);

 private:
  void Send(const TShownCall& call);
  void Sent(int callSerial, quint32 id, const TShownCall& call);
  void Remember(quint32 id, const TShownCall& call);
  void ActionInvoked(quint32 id, const QString& key);
  void Closed(quint32 id);

  platform::TDesktopNotifications& notifications_;
  QMetaObject::Connection actionConnection_;
  QMetaObject::Connection closedConnection_;
  // The current call: its serial number, its notification's id once the
  // desktop has given one, and an update held back while the desktop has
  // not yet answered for the first one.
  int callSerial_ = 0;
  quint32 currentId_ = 0;
  bool waitingForId_ = false;
  std::optional<TShownCall> heldBack_;
  // The calls of the notifications still on the desktop, oldest first.
  std::unordered_map<quint32, TShownCall> shown_;
  std::deque<quint32> shownOrder_;
  // Answers that arrive after the notifier has gone are dropped.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};
