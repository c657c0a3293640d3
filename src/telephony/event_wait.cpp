#include "telephony/event_wait.h"

#include <QEventLoop>

void TEventWait::Run() {
  if (finished_) return;
  QEventLoop loop;
  loop_ = &loop;
  loop.exec();
  loop_ = nullptr;
}

void TEventWait::Finish() {
  finished_ = true;
  if (loop_) loop_->quit();
}
