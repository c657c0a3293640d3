#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class QDBusMessage;

// Desktop notifications through the freedesktop notification service
// (org.freedesktop.Notifications on the session bus). Nothing here waits for
// the service: every call is sent and its answer arrives later through the
// event loop. Without a session bus nothing is sent; without a notification
// service the bus answers with an error, which is ignored.
namespace platform {

inline constexpr char kNotificationsService[] = "org.freedesktop.Notifications";
inline constexpr char kNotificationsPath[] = "/org/freedesktop/Notifications";
inline constexpr char kNotificationsInterface[] = "org.freedesktop.Notifications";
// The program's name and icon as the desktop knows them (its menu entry).
inline constexpr char kNotificationAppName[] = "Quorvel";
inline constexpr char kNotificationAppIcon[] = "quorvel";
inline constexpr char kDesktopEntryName[] = "quorvel";

struct TNotification {
  QString summary;    // plain text
  QString body;       // plain text; escaped here for services that read markup
  QString imageFile;  // a picture file shown with the notification; may be empty
  QStringList actions;  // pairs of action key and button label
};

class TDesktopNotifications : public QObject {
  Q_OBJECT

 public:
  explicit TDesktopNotifications(const QDBusConnection& bus = QDBusConnection::sessionBus(),
                                 QObject* parent = nullptr);

  // Sends `notification`; `replacesId` names the notification it updates in
  // place (0: a new one). `sent` receives the id the service gave it, once
  // the service has answered; it is never called when there is no service.
  void Send(const TNotification& notification, quint32 replacesId,
            std::function<void(quint32 id)> sent);

  // The Notify arguments for `notification`, in order.
  QList<QVariant> NotifyArguments(const TNotification& notification, quint32 replacesId) const;

 signals:
  // The user chose the action `key` of notification `id`.
  void ActionInvoked(quint32 id, const QString& key);
  // Notification `id` is gone from the desktop.
  void Closed(quint32 id);

 private slots:
  void OnActionInvoked(quint32 id, const QString& key);
  void OnNotificationClosed(quint32 id, quint32 reason);

 private:
  QDBusConnection bus_;
  // Until the service says otherwise, it reads markup in the body, as
  // nearly every one does.
  bool bodyMarkup_ = true;
};

}  // namespace platform
