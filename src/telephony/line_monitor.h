#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QVector>
#include <memory>

#include "telephony/call_tracker.h"
#include "telephony/line_assembler.h"
#include "telephony/line_error.h"

namespace platform {
class TSerialDevice;
class TUucpLock;
}
class TModemStarter;

// Watches one telephone line through a caller-ID modem on a serial port and
// reports calls as OnCallState / OnCallerID. Lines are named by their device
// path. All events are posted through the event loop of the owning (UI)
// thread, one at a time and in the order the modem gave them, so a handler
// that waits with the loop running receives the next event nested.
class TLineMonitor : public QObject {
  Q_OBJECT

 public:
  // The only media mode and call privilege this monitor supports.
  static constexpr quint32 kDataModemMediaMode = 16;
  static constexpr quint32 kMonitorOwnerPrivilege = 6;

  explicit TLineMonitor(QObject* parent = nullptr);
  ~TLineMonitor() override;

  // Number of known lines; the first call lists and probes them all.
  int LineCount() const;
  // Device path of line `LineId`, or "" when there is no such line.
  QString GetLineName(int LineId) const;

  // The selected line. Writing selects a line by device path; refused
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
  // false closes it.
  void SetLineOpen(bool open);

  // 1 when the selected line's device answers "AT" with "OK", else 0.
  int LineCapability() const;

 signals:
  void OnCallState(QObject* Sender, const QString& State);
  void OnCallerID(QObject* Sender, const QString& Number, const QString& Name, int Flags);

 private:
  struct TKnownLine {
    QString name;
    int capability = 0;
  };

  void EnsureLinesListed() const;
  void OpenDevice();
  // `unread`: what the modem sent after its last reply to the opening
  // sequence, already the start of monitoring.
  void UseDevice(std::unique_ptr<platform::TSerialDevice> device, const QByteArray& unread);
  void CloseDevice();
  void HandleRetryFinished(bool callerIdOn);
  void HandleData(const QByteArray& data);
  void HandleDeviceLost();
  void RetryOpen();
  void HandleRingTimeout();
  void Deliver(const std::vector<TCallEvent>& events);

  mutable bool listed_ = false;
  mutable QVector<TKnownLine> lines_;
  // Answers of probed devices that are not in the list (names set by hand).
  mutable QHash<QString, int> otherCapabilities_;
  QString lineName_;
  quint32 mediaMode_ = kDataModemMediaMode;
  quint32 callPrivilege_ = kMonitorOwnerPrivilege;
  bool open_ = false;

  std::unique_ptr<platform::TUucpLock> lock_;
  std::unique_ptr<platform::TSerialDevice> device_;
  // The opening sequence of a background retry, while it runs.
  std::unique_ptr<TModemStarter> retry_;
  TLineAssembler assembler_;
  TCallTracker tracker_;
  QTimer ringTimer_;
  QTimer retryTimer_;
};
