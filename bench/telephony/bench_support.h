#pragma once

// The clocks and the wait the telephony benches share.
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <functional>

#include <sys/resource.h>

namespace bench {

constexpr int kWaitLimitMs = 30000;

// The monotonic clock in nanoseconds, the one the simulators stamp their traces with.
inline long long NowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// CPU time of this process so far, user and system.
inline double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Runs the event loop until `condition` holds; false after `limitMs`.
inline bool WaitUntil(const std::function<bool()>& condition, int limitMs = kWaitLimitMs) {
  QElapsedTimer clock;
  clock.start();
  while (!condition()) {
    if (clock.elapsed() > limitMs) return false;
    QEventLoop loop;
    QTimer::singleShot(1, &loop, &QEventLoop::quit);
    loop.exec();
  }
  return true;
}

}  // namespace bench
