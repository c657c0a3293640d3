#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <memory>

class QSocketNotifier;

namespace platform {

// A serial device opened raw at 115200 baud, 8 data bits, no parity, one
// stop bit, without modem-control side effects (no controlling terminal,
// carrier ignored). Nothing here waits: received bytes arrive through the
// event loop as DataReceived once StartWatching() was called. When the
// device goes away (a USB modem pulled out) Lost is emitted once and the
// device is closed. Closing gives the device back the exact terminal
// settings it had when it was opened, so a port used only for a moment
// (a probe) is left as it was found.
class TSerialDevice : public QObject {
  Q_OBJECT

 public:
  // Why a device could not be opened.
  enum class TProblem {
    kNone,
    kNoHardware,  // a serial port without a UART behind it: nothing to ask
    kInUse,       // another program opened it for itself alone
    kFailed,      // any other reason, given in the error text
  };

  ~TSerialDevice() override;

  // Opens `path`. Returns nullptr and sets `error` to the system's reason
  // (for example "No such file or directory", with a hint at the "dialout"
  // group for "Permission denied") and `problem` when it cannot be opened.
  static std::unique_ptr<TSerialDevice> Open(const QString& path, QString* error,
                                             TProblem* problem = nullptr);

  const QString& Path() const { return path_; }
  bool IsOpen() const { return fd_ >= 0; }

  // Writes all of `data` if the output buffer has room for it now; false
  // when the device refused it or was full.
  bool Write(const QByteArray& data);
  // Drops input received but not yet read.
  void DiscardInput();

  // From now on received bytes arrive as DataReceived.
  void StartWatching();
  // Gives back the terminal settings and closes the device now; safe from
  // within this device's own signals (the object itself must then be
  // deleted later).
  void Close();

 signals:
  void DataReceived(const QByteArray& data);
  void Lost();

 private:
  struct TSavedSettings;
  TSerialDevice(int fd, const QString& path, std::unique_ptr<TSavedSettings> saved);
  void ReadAvailable();

  int fd_ = -1;
  QString path_;
  std::unique_ptr<TSavedSettings> saved_;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace platform
