#pragma once

#include <QDateTime>
#include <QObject>
#include <QTimer>
#include <deque>
#include <optional>

#include "calllog/logged_call.h"

class TCallStore;

// Keeps a row for every call the program handles. It hears the call
// handling's moments (a call's processing starts, the call has been shown
// or handed on, the line goes idle) and the forwarding's outcome, and writes
// on the next turn of the event loop, so logging never delays a call.
//
// Events of one call that are processed again (data arriving after the
// collection wait) update that call's row until the line goes idle. Calls
// that cannot be written (disk full, ...) are kept and written, in order,
// once writing works again.
class TCallLogRecorder : public QObject {
  Q_OBJECT

 public:
  // Calls kept while the log cannot be written; older ones are dropped.
  static constexpr std::size_t kMaxUnsaved = 1000;
  static constexpr int kRetryIntervalMs = 30000;

  explicit TCallLogRecorder(TCallStore& store, QObject* parent = nullptr);

  // The processing of a call starts (its first caller-ID event).
  void CallStarted(const QDateTime& utc);
  // The call has been shown or handed on; `call` holds its data (id and
  // start time are the recorder's).
  void CallHandled(const TLoggedCall& call);
  // The line went idle: the call is over, ended as far as the line tells.
  void LineIdle(TCallEnding ending = TCallEnding::kUnknown,
                std::optional<int> durationSeconds = std::nullopt);
  // What became of forwarding the call being handled or, after it (a
  // script's exit), the last call handled.
  void Forwarded(const TForwardingOutcome& outcome);

  void SetRetryInterval(int ms) { retryTimer_.setInterval(ms); }
  // Writes what is waiting now.
  void Flush();

 signals:
  // Row `id` was written or changed.
  void CallLogged(qint64 id);
  // A write succeeded after writes had failed.
  void WritingResumed();

 private:
  struct TPending {
    TLoggedCall call;
    bool unsaved = true;
  };
  struct TIdle {
    TCallEnding ending;
    std::optional<int> durationSeconds;
  };

  TLoggedCall& Current() { return calls_.back().call; }
  void MergeIntoCurrent(const TLoggedCall& call);
  static void ApplyIdle(TLoggedCall& call, const TIdle& idle);
  void MarkCurrentUnsaved();
  void ScheduleFlush();

  TCallStore& store_;
  // The last entry is the current call; before it, calls not yet written.
  std::deque<TPending> calls_;
  // The current call has not gone idle: processing it again updates its row.
  bool currentOpen_ = false;
  // Between CallStarted and CallHandled.
  bool inProgress_ = false;
  QDateTime progressStart_;
  std::optional<TIdle> idleInProgress_;
  std::optional<TForwardingOutcome> outcomeInProgress_;
  bool flushQueued_ = false;
  bool failing_ = false;
  QTimer retryTimer_;
};
