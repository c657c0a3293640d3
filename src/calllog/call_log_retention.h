#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

class TCallStore;

// Drops old calls: those older than the days the user keeps (0 keeps all)
// and all but the newest kMaxCalls. Runs at start and every hour, a small
// batch per turn of the event loop, so a large clean-up never stalls it.
class TCallLogRetention : public QObject {
  Q_OBJECT

 public:
  static constexpr qint64 kMaxCalls = 1000000;
  static constexpr int kBatch = 1000;
  static constexpr int kIntervalMs = 3600 * 1000;

  // `days` is read at each run (the setting may change).
  TCallLogRetention(TCallStore& store, std::function<int()> days, QObject* parent = nullptr);

  // Runs now, then every kIntervalMs.
  void Start();
  void SetMaxCalls(qint64 cap) { cap_ = cap; }

 signals:
  // Calls were dropped.
  void Pruned();
  // A run has finished.
  void Done();

 private:
  void Step();

  TCallStore& store_;
  std::function<int()> days_;
  qint64 cap_ = kMaxCalls;
  bool running_ = false;
  QTimer interval_;
};
