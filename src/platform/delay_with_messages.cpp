#include "delay_with_messages.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

void DelayWithMessages(int ms) {
  // Events posted together with the one whose handler is waiting now would
  // otherwise stay queued until that handler returns: the GLib dispatcher
  // does not look at the posted-event queue again without a fresh wake-up.
  QCoreApplication::sendPostedEvents();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  if (ms <= 0) return;
  QEventLoop loop;
  QTimer timer;
  timer.setSingleShot(true);
  timer.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
  timer.start(ms);
  loop.exec();
}
