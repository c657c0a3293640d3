#include "calls/line_monitor_wiring.h"

#include <exception>

#include "calls/call_handler.h"
#include "platform/message_dialogs.h"
#include "telephony/line_monitor.h"

std::vector<QMetaObject::Connection> ConnectLineMonitor(TLineMonitor& monitor,
                                                       TCallHandler& handler) {
  std::vector<QMetaObject::Connection> connections;
  connections.push_back(QObject::connect(&monitor, &TLineMonitor::OnCallerID, &monitor,
                   [&handler](QObject* sender, const QString& number, const QString& name,
                              int flags) {
                     try {
                       handler.LineMonitorCallerID(sender, number, name, flags);
                     } catch (const std::exception& e) {
                       platform::ShowGeneralErrorReport(e);
                     }
                   }));
  connections.push_back(QObject::connect(&monitor, &TLineMonitor::OnCallState, &monitor,
                                         [&handler](QObject* sender, const QString& state) {
                                           handler.LineMonitorCallState(sender, state);
                                         }));
  return connections;
}
