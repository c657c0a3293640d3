#pragma once

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>
#include <functional>

// Other processes do the work here. The bound is generous for a loaded
// machine: each wait ends as soon as its condition holds.
inline constexpr int kE2EWaitMs = 60000;

// Looks at `condition` every 50 ms: often enough, and gentle when looking
// means opening a file or running a process.
inline bool PollUntil(const std::function<bool()>& condition, int timeoutMs = kE2EWaitMs) {
  const QDeadlineTimer deadline(timeoutMs);
  while (!condition()) {
    if (deadline.hasExpired()) return false;
    QThread::msleep(50);
  }
  return true;
}

inline bool WaitForFile(const QString& path) {
  return PollUntil([&] { return QFile::exists(path); });
}
