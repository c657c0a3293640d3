#include "app/notification_link.h"

#include <QString>
#include <exception>

#include "app/reg_setting.h"
#include "calls/call_notifier.h"
#include "calls/caller_desk.h"
#include "platform/desktop_notifications.h"
#include "platform/message_dialogs.h"
#include "telephony/line_monitor.h"

TNotificationLink::TNotificationLink(TCallerDesk& desk, const TLineMonitor& line,
                                     std::function<bool()> enabled)
    : desk_(desk),
      notifications_(std::make_unique<platform::TDesktopNotifications>()),
      notifier_(std::make_unique<TCallNotifier>(*notifications_)) {
  TCallHandler& handler = desk.Handler();
  handler.Observer.callShown = [this, &line, enabled = std::move(enabled)](const TShownCall& call) {
    if (!enabled()) return;
    TShownCall withLine = call;
    withLine.line = line.LineName();
    notifier_->CallShown(withLine);
  };
  handler.Observer.lineIdle = [this] { notifier_->CallEnded(); };
  notifier_->onShow = [this] { desk_.ShowWindow(); };
  notifier_->onSave = [this](const QString& name, const QString& number) {
    desk_.ShowWindow();
    try {
      desk_.Editor().SaveUnknownCaller(name, number);
    } catch (const std::exception& error) {
      platform::ShowGeneralErrorReport(error);
    }
  };
}

TNotificationLink::~TNotificationLink() {
  desk_.Handler().Observer.callShown = nullptr;
  desk_.Handler().Observer.lineIdle = nullptr;
}

bool NotificationsOnAtStart(const QString& stored, bool trayShown) {
  if (stored == QLatin1String(kSettingOn)) return true;
  if (stored == QLatin1String(kSettingOff)) return false;
  return !trayShown;
}
