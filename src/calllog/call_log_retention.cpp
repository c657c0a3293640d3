#include "calllog/call_log_retention.h"

#include <QDateTime>
#include <optional>

#include "calllog/call_store.h"

TCallLogRetention::TCallLogRetention(TCallStore& store, std::function<int()> days,
                                     QObject* parent)
    : QObject(parent), store_(store), days_(std::move(days)) {
  interval_.setInterval(kIntervalMs);
  connect(&interval_, &QTimer::timeout, this, &TCallLogRetention::Start);
}

void TCallLogRetention::Start() {
  interval_.start();
  if (running_) return;
  running_ = true;
  QTimer::singleShot(0, this, &TCallLogRetention::Step);
}

void TCallLogRetention::Step() {
  const int days = days_ ? days_() : 0;
  std::optional<QDateTime> olderThan;
  if (days > 0) olderThan = QDateTime::currentDateTimeUtc().addDays(-days);
  const int deleted = store_.PruneStep(olderThan, cap_, kBatch);
  if (deleted > 0) emit Pruned();
  if (deleted == kBatch) {
    QTimer::singleShot(0, this, &TCallLogRetention::Step);
    return;
  }
  running_ = false;
  emit Done();
}
