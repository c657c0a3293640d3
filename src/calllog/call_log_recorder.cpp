#include "calllog/call_log_recorder.h"

#include <vector>

#include "calllog/call_store.h"

namespace {

// Keeps the newest `max` entries of a map keyed by growing numbers.
template <typename Map>
void KeepNewest(Map& map, std::size_t max) {
  while (map.size() > max) map.erase(map.begin());
}

}  // namespace

TCallLogRecorder::TCallLogRecorder(TCallStore& store, QObject* parent)
    : QObject(parent), store_(store) {
  retryTimer_.setSingleShot(true);
  retryTimer_.setInterval(kRetryIntervalMs);
  connect(&retryTimer_, &QTimer::timeout, this, &TCallLogRecorder::Flush);
}

void TCallLogRecorder::CallStarted(const QDateTime& utc) {
  progress_ = TProgress{++lastSerial_, utc, std::nullopt, std::nullopt};
}

void TCallLogRecorder::ForwardingStarted(quint64 forwarding) {
  quint64 serial = 0;
  if (progress_) serial = progress_->serial;
  else if (!calls_.empty()) serial = calls_.back().serial;
  if (serial == 0) return;
  callOfForwarding_[forwarding] = serial;
  KeepNewest(callOfForwarding_, kMaxForwardings);
}

void TCallLogRecorder::CallHandled(const TLoggedCall& call) {
  const TProgress progress =
      progress_.value_or(TProgress{++lastSerial_, QDateTime::currentDateTimeUtc(), {}, {}});
  progress_.reset();
  if (currentOpen_ && !calls_.empty()) {
    MergeIntoCurrent(call);
    // Forwardings of this processing belong to the call it merged into.
    for (auto& [forwarding, serial] : callOfForwarding_) {
      if (serial == progress.serial) serial = calls_.back().serial;
    }
  } else {
    TPending entry{call, progress.serial, true};
    entry.call.id = 0;
    entry.call.startUtc = progress.start;
    entry.call.utcOffsetSeconds = progress.start.toLocalTime().offsetFromUtc();
    calls_.push_back(entry);
    if (calls_.size() > kMaxUnsaved) calls_.pop_front();
    currentOpen_ = true;
  }
  if (progress.outcome) Current().forwarding = *progress.outcome;
  if (progress.idle) {
    ApplyIdle(Current(), *progress.idle);
    currentOpen_ = false;
  }
  MarkUnsaved(calls_.back());
}

void TCallLogRecorder::MergeIntoCurrent(const TLoggedCall& call) {
  TLoggedCall& current = Current();
  if (!call.numberReceived.isEmpty()) current.numberReceived = call.numberReceived;
  current.numberDisplayed = call.numberDisplayed;
  current.networkName = call.networkName;
  current.matchedName = call.matchedName;
  current.withheld = current.withheld || call.withheld;
  current.outOfArea = current.outOfArea || call.outOfArea;
  current.mode = call.mode;
  if (call.forwarding.kind != TForwardingKind::kNone) current.forwarding = call.forwarding;
}

void TCallLogRecorder::ApplyIdle(TLoggedCall& call, const TIdle& idle) {
  if (idle.ending != TCallEnding::kUnknown) call.ending = idle.ending;
  if (idle.durationSeconds) call.durationSeconds = idle.durationSeconds;
}

void TCallLogRecorder::LineIdle(TCallEnding ending, std::optional<int> durationSeconds) {
  if (progress_) {
    progress_->idle = TIdle{ending, durationSeconds};
    return;
  }
  if (currentOpen_ && !calls_.empty()) {
    const TLoggedCall before = Current();
    ApplyIdle(Current(), {ending, durationSeconds});
    if (!(Current() == before)) MarkUnsaved(calls_.back());
  }
  currentOpen_ = false;
}

void TCallLogRecorder::Forwarded(const TCallForwarding& outcome,
                                 std::optional<quint64> forwarding) {
  quint64 serial = 0;
  if (forwarding) {
    const auto known = callOfForwarding_.find(*forwarding);
    if (known == callOfForwarding_.end()) return;  // too old, or not a logged call
    serial = known->second;
  } else if (progress_) {
    serial = progress_->serial;
  } else if (!calls_.empty()) {
    serial = calls_.back().serial;
  }
  if (progress_ && serial == progress_->serial) {
    progress_->outcome = outcome;
  } else if (TPending* entry = Find(serial)) {
    entry->call.forwarding = outcome;
    MarkUnsaved(*entry);
  } else {
    ApplyToWritten(serial, outcome);
  }
}

TCallLogRecorder::TPending* TCallLogRecorder::Find(quint64 serial) {
  for (TPending& entry : calls_) {
    if (entry.serial == serial) return &entry;
  }
  return nullptr;
}

void TCallLogRecorder::ApplyToWritten(quint64 serial, const TCallForwarding& outcome) {
  // A call that is neither current nor waiting: its row is changed in place.
  const auto row = rowOfCall_.find(serial);
  if (row == rowOfCall_.end()) return;
  std::optional<TLoggedCall> call = store_.Get(row->second);
  if (!call) return;
  call->forwarding = outcome;
  if (store_.Update(*call)) emit CallLogged(call->id);
}

void TCallLogRecorder::MarkUnsaved(TPending& entry) {
  entry.unsaved = true;
  ScheduleFlush();
}

void TCallLogRecorder::ScheduleFlush() {
  if (flushQueued_) return;
  flushQueued_ = true;
  QTimer::singleShot(0, this, &TCallLogRecorder::Flush);
}

void TCallLogRecorder::Flush() {
  flushQueued_ = false;
  std::vector<qint64> logged;
  bool resumed = false;
  bool failed = false;
  for (TPending& entry : calls_) {
    if (!entry.unsaved) continue;
    if (!(entry.call.id == 0 ? store_.Insert(entry.call) : store_.Update(entry.call))) {
      failed = true;
      break;
    }
    entry.unsaved = false;
    rowOfCall_[entry.serial] = entry.call.id;
    resumed = resumed || failing_;
    failing_ = false;
    logged.push_back(entry.call.id);
  }
  KeepNewest(rowOfCall_, kMaxForwardings);
  if (failed) {
    failing_ = true;
    retryTimer_.start();
  } else {
    retryTimer_.stop();
    while (calls_.size() > 1) calls_.pop_front();
  }
  // Told only now: listeners may act on the recorder again.
  if (resumed) emit WritingResumed();
  for (const qint64 id : logged) emit CallLogged(id);
}
