#pragma once

#include <QMetaObject>
#include <vector>

class TCallHandler;
class TLineMonitor;

// Routes the line monitor's OnCallerID and OnCallState events to the call
// handler. An error that ends a call's processing is shown by the general
// error report right here, so it never unwinds through the monitor's event
// delivery, and the next call is handled normally.
// Returns the connections made.
std::vector<QMetaObject::Connection> ConnectLineMonitor(TLineMonitor& monitor,
                                                       TCallHandler& handler);
