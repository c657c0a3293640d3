#include "platform/serial_device.h"

#include <QCoreApplication>
#include <QFile>
#include <QSocketNotifier>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace platform {

struct TSerialDevice::TSavedSettings {
  termios tio{};
};

namespace {

constexpr speed_t kBaudRate = B115200;
constexpr int kReadChunk = 4096;

// Raw 8N1 without flow control; CLOCAL so a missing carrier never blocks.
bool ConfigureRaw(int fd, termios tio) {
  ::cfmakeraw(&tio);
  tio.c_cflag &= ~static_cast<tcflag_t>(CSTOPB | PARENB | CRTSCTS | CSIZE);
  tio.c_cflag |= CS8 | CLOCAL | CREAD;
  tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
  // With VMIN 1 a non-blocking read of an empty buffer says EAGAIN; a read
  // of 0 bytes then only means the line was hung up.
  tio.c_cc[VMIN] = 1;
  tio.c_cc[VTIME] = 0;
  ::cfsetispeed(&tio, kBaudRate);
  ::cfsetospeed(&tio, kBaudRate);
  return ::tcsetattr(fd, TCSANOW, &tio) == 0;
}

// A serial port the kernel lists but found no UART for (most of ttyS1 to
// ttyS31 on a PC). Devices that are not classic serial ports say nothing.
bool HasNoUart(int fd) {
  serial_struct info{};
  return ::ioctl(fd, TIOCGSERIAL, &info) == 0 && info.type == PORT_UNKNOWN;
}

// Serial devices belong to the group "dialout"; a refusal nearly always
// means the user is not a member yet.
constexpr char kPermissionHint[] =
    QT_TRANSLATE_NOOP("SerialDevice", " (the user may need to be in the \"dialout\" group)");

QString SystemReason(int error) {
  QString reason = QString::fromLocal8Bit(std::strerror(error));
  if (error == EACCES) reason += QCoreApplication::translate("SerialDevice", kPermissionHint);
  return reason;
}

std::unique_ptr<TSerialDevice> Refuse(int fd, int error, TSerialDevice::TProblem kind, QString* reason,
                                      TSerialDevice::TProblem* problem) {
  if (fd >= 0) ::close(fd);
  if (reason) *reason = SystemReason(error);
  if (problem) *problem = kind;
  return nullptr;
}

}  // namespace

TSerialDevice::TSerialDevice(int fd, const QString& path, std::unique_ptr<TSavedSettings> saved)
    : fd_(fd), path_(path), saved_(std::move(saved)) {}

TSerialDevice::~TSerialDevice() { Close(); }

std::unique_ptr<TSerialDevice> TSerialDevice::Open(const QString& path, QString* error, TProblem* problem) {
  if (problem) *problem = TProblem::kNone;
  const QByteArray native = QFile::encodeName(path);
  const int fd = ::open(native.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    const int saved = errno;
    // EBUSY: another program holds the line with TIOCEXCL.
    return Refuse(-1, saved, saved == EBUSY ? TProblem::kInUse : TProblem::kFailed, error, problem);
  }
  if (!::isatty(fd)) return Refuse(fd, ENOTTY, TProblem::kFailed, error, problem);
  if (HasNoUart(fd)) return Refuse(fd, ENODEV, TProblem::kNoHardware, error, problem);
  auto saved = std::make_unique<TSavedSettings>();
  if (::tcgetattr(fd, &saved->tio) != 0 || !ConfigureRaw(fd, saved->tio)) {
    return Refuse(fd, errno, TProblem::kFailed, error, problem);
  }
  // Keep programs that ignore lock files from opening the line meanwhile.
  ::ioctl(fd, TIOCEXCL);
  return std::unique_ptr<TSerialDevice>(new TSerialDevice(fd, path, std::move(saved)));
}

bool TSerialDevice::Write(const QByteArray& data) {
  qsizetype done = 0;
  while (fd_ >= 0 && done < data.size()) {
    const ssize_t n = ::write(fd_, data.constData() + done, static_cast<size_t>(data.size() - done));
    if (n > 0) {
      done += n;
    } else if (!(n < 0 && errno == EINTR)) {
      return false;
    }
  }
  return fd_ >= 0;
}

void TSerialDevice::DiscardInput() {
  if (fd_ >= 0) ::tcflush(fd_, TCIFLUSH);
}

void TSerialDevice::StartWatching() {
  if (fd_ < 0 || notifier_) return;
  notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
  connect(notifier_.get(), &QSocketNotifier::activated, this, &TSerialDevice::ReadAvailable);
}

void TSerialDevice::ReadAvailable() {
  QByteArray data;
  bool lost = false;
  char buffer[kReadChunk];
  while (fd_ >= 0) {
    const ssize_t n = ::read(fd_, buffer, sizeof buffer);
    if (n > 0) {
      data.append(buffer, n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    // 0 or an error such as EIO: the device has gone.
    lost = !(n < 0 && errno == EAGAIN);
    break;
  }
  // Stop watching at once: a hung-up descriptor stays readable forever.
  if (lost) Close();
  if (!data.isEmpty()) emit DataReceived(data);
  if (lost) emit Lost();
}

void TSerialDevice::Close() {
  if (notifier_) {
    // Possibly within the notifier's own signal: it goes once that is over.
    notifier_->setEnabled(false);
    notifier_.release()->deleteLater();
  }
  if (fd_ >= 0) {
    // Output still queued is dropped: closing would wait up to half a
    // minute for a line stopped by flow control. The settings and the
    // exclusive mark belong to the terminal, not to this descriptor.
    ::tcflush(fd_, TCOFLUSH);
    if (saved_) ::tcsetattr(fd_, TCSANOW, &saved_->tio);
    ::ioctl(fd_, TIOCNXCL);
    ::close(fd_);
    fd_ = -1;
  }
}

}  // namespace platform
