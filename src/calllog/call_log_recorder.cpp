#include "calllog/call_log_recorder.h"

#include "calllog/call_store.h"

#include <vector>

TCallLogRecorder::TCallLogRecorder(TCallStore& store, QObject* parent)
    : QObject(parent), store_(store) {
  retryTimer_.setSingleShot(true);
  retryTimer_.setInterval(kRetryIntervalMs);
  connect(&retryTimer_, &QTimer::timeout, this, &TCallLogRecorder::Flush);
}

void TCallLogRecorder::CallStarted(const QDateTime& utc) {
  inProgress_ = true;
  progressStart_ = utc;
  idleInProgress_.reset();
  outcomeInProgress_.reset();
}

void TCallLogRecorder::CallHandled(const TLoggedCall& call) {
  if (currentOpen_ && !calls_.empty()) {
    MergeIntoCurrent(call);
  } else {
    TPending entry{call, true};
    entry.call.id = 0;
    entry.call.startUtc = inProgress_ ? progressStart_ : QDateTime::currentDateTimeUtc();
    entry.call.utcOffsetSeconds = entry.call.startUtc.toLocalTime().offsetFromUtc();
    calls_.push_back(entry);
    if (calls_.size() > kMaxUnsaved) calls_.pop_front();
    currentOpen_ = true;
  }
  if (inProgress_) {
    if (outcomeInProgress_) Current().forwarding = *outcomeInProgress_;
    if (idleInProgress_) {
      ApplyIdle(Current(), *idleInProgress_);
      currentOpen_ = false;
    }
  }
  inProgress_ = false;
  MarkCurrentUnsaved();
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
  if (inProgress_) {
    idleInProgress_ = TIdle{ending, durationSeconds};
    return;
  }
  if (currentOpen_ && !calls_.empty()) {
    const TLoggedCall before = Current();
    ApplyIdle(Current(), {ending, durationSeconds});
    if (!(Current() == before)) MarkCurrentUnsaved();
  }
  currentOpen_ = false;
}

void TCallLogRecorder::Forwarded(const TForwardingOutcome& outcome) {
  if (inProgress_) {
    outcomeInProgress_ = outcome;
    return;
  }
  if (calls_.empty()) return;
  Current().forwarding = outcome;
  MarkCurrentUnsaved();
}

void TCallLogRecorder::MarkCurrentUnsaved() {
  calls_.back().unsaved = true;
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
    resumed = resumed || failing_;
    failing_ = false;
    logged.push_back(entry.call.id);
  }
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
