#pragma once

#include <QString>
#include <functional>
#include <memory>

class TCallerDesk;
class TCallNotifier;
class TLineMonitor;
namespace platform {
class TDesktopNotifications;
}

// Tells the desktop of each call the window shows in Active mode, while
// `enabled` says so (Mode > "Desktop Notifications"). The notification's
// "Show" raises the window; "Save" stores an unknown caller as the
// "Save to database" button does, its errors shown by the general error
// report. Lives no longer than the desk and the line monitor.
class TNotificationLink {
 public:
  TNotificationLink(TCallerDesk& desk, const TLineMonitor& line, std::function<bool()> enabled);
  ~TNotificationLink();
  TNotificationLink(const TNotificationLink&) = delete;
  TNotificationLink& operator=(const TNotificationLink&) = delete;

 private:
  TCallerDesk& desk_;
  std::unique_ptr<platform::TDesktopNotifications> notifications_;
  std::unique_ptr<TCallNotifier> notifier_;
};

// Whether Mode > "Desktop Notifications" is on, from the stored setting
// ("1" on, "0" off); anything else means on exactly when the desktop shows
// no tray, where a notification is the only sign of a call besides the
// window.
bool NotificationsOnAtStart(const QString& stored, bool trayShown);
