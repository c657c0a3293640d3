#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <memory>

class QSocketNotifier;

namespace platform {

// A serial device opened raw at 115200 baud, 8 data bits, no parity, one
// stop bit, without modem-control side effects (no controlling terminal,
// carrier ignored). Reading can be done in two ways: blocking with a time
// bound (ReadFor) for command exchanges, or, after StartWatching(), through
// the event loop with DataReceived. When the device goes away (a USB modem
// pulled out) Lost is emitted once and the device is closed.
class TSerialDevice : public QObject {
  Q_OBJECT

 public:
  static constexpr int kDefaultWriteWaitMs = 1000;

  ~TSerialDevice() override;

  // Opens `path`. Returns nullptr and sets `error` to the system's reason
  // (for example "No such file or directory") when it cannot be opened.
  static std::unique_ptr<TSerialDevice> Open(const QString& path, QString* error);

  const QString& Path() const { return path_; }
  bool IsOpen() const { return fd_ >= 0; }
  // The OS handle, for waiting on several devices at once; -1 once closed.
  int Handle() const { return fd_; }

  // Writes all of `data`, waiting up to `waitMs` for room each time the
  // output buffer is full; false when the device refused it or stayed full.
  bool Write(const QByteArray& data, int waitMs = kDefaultWriteWaitMs);
  // Waits up to `ms` for bytes and returns what arrived (possibly nothing).
  // Sets `lost` when the device went away.
  QByteArray ReadFor(int ms, bool* lost);
  // Drops input received but not yet read.
  void DiscardInput();

  // From now on received bytes arrive as DataReceived.
  void StartWatching();

 signals:
  void DataReceived(const QByteArray& data);
  void Lost();

 private:
  TSerialDevice(int fd, const QString& path);
  void ReadAvailable();
  // `fromNotifier`: called while the notifier's own signal is handled.
  void Close(bool fromNotifier);

  int fd_ = -1;
  QString path_;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace platform
