#include "platform/desktop_notifications.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QUrl>
#include <QVariantMap>

namespace platform {
namespace {

constexpr int kServerDefaultTimeout = -1;
constexpr char kBodyMarkupCapability[] = "body-markup";

QDBusMessage ServiceCall(const char* method) {
  return QDBusMessage::createMethodCall(
      QString::fromLatin1(kNotificationsService), QString::fromLatin1(kNotificationsPath),
      QString::fromLatin1(kNotificationsInterface), QString::fromLatin1(method));
}

// Runs `done` with the reply of `call` once it arrives (an error included).
template <typename Reply>
void OnReply(const QDBusConnection& bus, const QDBusMessage& call, QObject* context,
             std::function<void(const Reply&)> done) {
  auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), context);
  QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                   [done = std::move(done)](QDBusPendingCallWatcher* w) {
                     const Reply reply = *w;
                     w->deleteLater();
                     done(reply);
                   });
}

}  // namespace

TDesktopNotifications::TDesktopNotifications(const QDBusConnection& bus, QObject* parent)
    : QObject(parent), bus_(bus) {
  if (!bus_.isConnected()) return;
  const QString service = QString::fromLatin1(kNotificationsService);
  const QString path = QString::fromLatin1(kNotificationsPath);
  const QString interface = QString::fromLatin1(kNotificationsInterface);
  bus_.connect(service, path, interface, QStringLiteral("ActionInvoked"), this,
               SLOT(OnActionInvoked(quint32, QString)));
  bus_.connect(service, path, interface, QStringLiteral("NotificationClosed"), this,
               SLOT(OnNotificationClosed(quint32, quint32)));
  OnReply<QDBusPendingReply<QStringList>>(
      bus_, ServiceCall("GetCapabilities"), this,
      [this](const QDBusPendingReply<QStringList>& reply) {
        if (!reply.isError())
          bodyMarkup_ = reply.value().contains(QString::fromLatin1(kBodyMarkupCapability));
      });
}

QList<QVariant> TDesktopNotifications::NotifyArguments(const TNotification& notification,
                                                       quint32 replacesId) const {
  QVariantMap hints;
  hints.insert(QStringLiteral("desktop-entry"), QString::fromLatin1(kDesktopEntryName));
  if (!notification.imageFile.isEmpty()) {
    hints.insert(QStringLiteral("image-path"),
                 QUrl::fromLocalFile(notification.imageFile).toString(QUrl::FullyEncoded));
  }
  const QString body =
      bodyMarkup_ ? notification.body.toHtmlEscaped() : notification.body;
  return {QString::fromLatin1(kNotificationAppName), replacesId,
          QString::fromLatin1(kNotificationAppIcon), notification.summary, body,
          notification.actions, hints, kServerDefaultTimeout};
}

void TDesktopNotifications::Send(const TNotification& notification, quint32 replacesId,
                                 std::function<void(quint32 id)> sent) {
  if (!bus_.isConnected()) return;
  QDBusMessage call = ServiceCall("Notify");
  call.setArguments(NotifyArguments(notification, replacesId));
  OnReply<QDBusPendingReply<quint32>>(
      bus_, call, this, [sent = std::move(sent)](const QDBusPendingReply<quint32>& reply) {
        if (sent) sent(reply.isError() ? 0 : reply.value());
      });
}

void TDesktopNotifications::OnActionInvoked(quint32 id, const QString& key) {
  emit ActionInvoked(id, key);
}

void TDesktopNotifications::OnNotificationClosed(quint32 id, quint32 /*reason*/) {
  emit Closed(id);
}

}  // namespace platform
