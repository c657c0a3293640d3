#pragma once

#include <QCoreApplication>
#include <QTimer>

// QCoreApplication::exit() called while the application's own loop is not
// running leaves every later event loop returning at once. Running that loop
// once, ended straight away, lets the next test's loops run again.
inline void RecoverFromApplicationExit() {
  QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
  QCoreApplication::exec();
}
