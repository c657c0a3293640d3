#pragma once

#include <QApplication>
#include <QTimer>
#include <functional>

// Runs `answer` on the modal dialog of type T once it is on screen.
template <class T>
void WhenModalShows(std::function<void(T&)> answer) {
  auto* poll = new QTimer;
  QObject::connect(poll, &QTimer::timeout, [poll, answer] {
    auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
    if (!dialog) return;
    poll->stop();
    poll->deleteLater();
    answer(*dialog);
  });
  poll->start(10);
}
