#pragma once

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>
#include <functional>

// The other processes do the work; this one only looks now and then. The
// bound is generous for a loaded machine: each wait ends as soon as its
// condition holds.
inline constexpr int kE2EWaitMs = 60000;

inline bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = kE2EWaitMs) {
  const QDeadlineTimer deadline(timeoutMs);
  while (!condition()) {
    if (deadline.hasExpired()) return false;
    QThread::msleep(50);
  }
  return true;
}

inline bool WaitForFile(const QString& path) {
  return WaitUntil([&] { return QFile::exists(path); });
}
