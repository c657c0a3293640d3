#pragma once

#include <QDateTime>
#include <QObject>
#include <QTimer>
#include <deque>
#include <map>
#include <optional>

#include "calllog/logged_call.h"

class TCallStore;

// Keeps a row for every call the program handles. It hears the call
// handling's moments (a call's processing starts, the call has been shown
// or handed on, the line goes idle) and each forwarding's outcome, and
// writes on the next turn of the event loop, so logging never delays a call.
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
  // Forwardings whose outcomes are still awaited (a script may run long).
  static constexpr std::size_t kMaxForwardings = 256;
  static constexpr int kRetryIntervalMs = 30000;

  explicit TCallLogRecorder(TCallStore& store, QObject* parent = nullptr);

  // The processing of a call starts (its first caller-ID event).
  void CallStarted(const QDateTime& utc);
  // Forwarding number `forwarding` was handed the call being processed.
  void ForwardingStarted(quint64 forwarding);
  // The call has been shown or handed on; `call` holds its data (id and
  // start time are the recorder's).
  void CallHandled(const TLoggedCall& call);
  // The line went idle: the call is over, ended as far as the line tells.
  void LineIdle(TCallEnding ending = TCallEnding::kUnknown,
                std::optional<int> durationSeconds = std::nullopt);
  // What became of forwarding number `forwarding`, at any time later; without
  // a number, of the call being processed or else the last one.
  void Forwarded(const TCallForwarding& outcome,
                 std::optional<quint64> forwarding = std::nullopt);

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
    quint64 serial = 0;  // the recorder's own number of the call
    bool unsaved = true;
  };
  struct TIdle {
    TCallEnding ending;
    std::optional<int> durationSeconds;
  };
  // The processing between CallStarted and CallHandled.
  struct TProgress {
    quint64 serial = 0;
    QDateTime start;
    std::optional<TIdle> idle;
    std::optional<TCallForwarding> outcome;
  };

  TLoggedCall& Current() { return calls_.back().call; }
  TPending* Find(quint64 serial);
  void MergeIntoCurrent(const TLoggedCall& call);
  static void ApplyIdle(TLoggedCall& call, const TIdle& idle);
  void ApplyToWritten(quint64 serial, const TCallForwarding& outcome);
  void MarkUnsaved(TPending& entry);
  void ScheduleFlush();

  TCallStore& store_;
  // The last entry is the current call; before it, calls not yet written.
  std::deque<TPending> calls_;
  // The current call has not gone idle: processing it again updates its row.
  bool currentOpen_ = false;
  std::optional<TProgress> progress_;
  quint64 lastSerial_ = 0;
  // Forwarding number -> call serial; call serial -> row, once written.
  std::map<quint64, quint64> callOfForwarding_;
  std::map<quint64, qint64> rowOfCall_;
  bool flushQueued_ = false;
  bool failing_ = false;
  QTimer retryTimer_;
};
