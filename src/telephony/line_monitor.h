#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <memory>
#include <vector>

#include "telephony/call_tracker.h"
#include "telephony/line_error.h"
#include "telephony/line_notice.h"
#include "telephony/line_timings.h"

class TEventWait;
class TLineProber;
class TOpenLine;

// Watches one telephone line and reports calls as OnCallState /
// OnCallerID. Lines are named by their device path (serial modems) or by a
// URL (network servers, always offered without probing); what kind of line
// a name means and how it is read is behind TOpenLine, while the call
// tracking and the events are the same for every kind. All events are
// posted through the event loop of the owning (UI) thread, one at a time
// and in the order the line gave them, so a handler that waits with the
// loop running receives the next event nested.
//
// The property writes keep their synchronous shape (SetLineOpen(true)
// throws ELineError with the reason), but every wait inside them runs the
// event loop: listing, probing and opening never freeze the window.
class TLineMonitor : public QObject {
  Q_OBJECT

 public:
  // The only media mode and call privilege this monitor supports.
  static constexpr quint32 kDataModemMediaMode = 16;
  static constexpr quint32 kMonitorOwnerPrivilege = 6;

  explicit TLineMonitor(QObject* parent = nullptr);
  ~TLineMonitor() override;

  // The waits and intervals, for the next listing and the next opening.
  void SetTimings(const TLineTimings& timings) { timings_ = timings; }
  const TLineTimings& Timings() const { return timings_; }

  // Number of known lines; the first call lists and probes them all.
  int LineCount() const;
  // Name (device path or URL) of line `LineId`, or "" when there is no such line.
  QString GetLineName(int LineId) const;

  // The selected line. Writing selects a line by name; refused
  // (ELineError) for an empty name or while another line is open.
  QString LineName() const;
  void SetLineName(const QString& name);

  quint32 MediaMode() const;
  void SetMediaMode(quint32 mode);  // throws ELineError unless 16
  quint32 CallPrivilege() const;
  void SetCallPrivilege(quint32 privilege);  // throws ELineError unless 6

  // True while the selected line is being monitored, including the time
  // in which a vanished device is being waited for.
  bool LineOpen() const;
  // true opens the selected line (throws ELineError with the reason),
  // false closes it. An opening overtaken by a nested close or another
  // opening returns without a word: the later one decides.
  void SetLineOpen(bool open);

  // 1 when a modem answers on the selected line or it names a server, else 0.
  int LineCapability() const;

  // Why each listed line that is not offered is not, "<line>: <reason>",
  // in list order. Ports without any hardware are left out.
  QStringList UnofferedLines() const;

  // What the line being watched is doing ("open", "connected",
  // "Connection refused, retrying", ...); "closed" when none is open.
  QString LineState() const { return state_; }

 signals:
  void OnCallState(QObject* Sender, const QString& State);
  void OnCallerID(QObject* Sender, const QString& Number, const QString& Name, int Flags);
  // Right after OnCallState "IDLE": how the call ended, where the line tells.
  void CallEnded(QObject* Sender, TCallOutcome Outcome);
  // A listed line answered only after the listing had ended: it can be
  // offered now.
  void LineFound(const QString& Name);
  // LineState() changed.
  void LineStateChanged(const QString& State);

 private:
  void EnsureLinesListed() const;
  bool Answers(const QString& name) const;
  // Closes and forgets the line being opened or watched.
  void DropLine();
  void HandleNotices(const std::vector<TLineNotice>& notices);
  void HandleRingTimeout();
  void Apply(const TCallTracker::TResult& result);
  void Deliver(const std::vector<TCallEvent>& events);
  void SetState(const QString& state);

  TLineTimings timings_;
  mutable QStringList lines_;
  mutable std::unique_ptr<TLineProber> prober_;
  // Answers of lines probed on their own (names not in the list).
  mutable QHash<QString, int> otherCapabilities_;
  QString lineName_;
  quint32 mediaMode_ = kDataModemMediaMode;
  quint32 callPrivilege_ = kMonitorOwnerPrivilege;
  bool open_ = false;
  QString state_;

  std::unique_ptr<TOpenLine> line_;
  // The wait of the opening under way, if any; counts openings and closings
  // so a nested one is told from the one it overtook.
  TEventWait* openingWait_ = nullptr;
  quint64 generation_ = 0;
  TCallTracker tracker_;
  QTimer ringTimer_;
};
