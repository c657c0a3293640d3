#pragma once

#include <QCoreApplication>
#include <QString>

// What a line is doing, as the tray icon's tooltip tells the user:
// "/dev/ttyS0: open", "ncid://host:3333: Connection refused, retrying".
namespace LineStates {

inline QString Opening() { return QCoreApplication::translate("LineStates", "opening"); }
inline QString Open() { return QCoreApplication::translate("LineStates", "open"); }
inline QString Connecting() { return QCoreApplication::translate("LineStates", "connecting"); }
inline QString Connected() { return QCoreApplication::translate("LineStates", "connected"); }
inline QString Closed() { return QCoreApplication::translate("LineStates", "closed"); }
// Something went wrong and the line tries again by itself; `reason` says what.
inline QString Retrying(const QString& reason) {
  return QCoreApplication::translate("LineStates", "%1, retrying").arg(reason);
}

}  // namespace LineStates
