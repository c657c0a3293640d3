#include "platform/serial_device.h"

#include <QFile>
#include <QSocketNotifier>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr speed_t kBaudRate = B115200;
constexpr int kReadChunk = 4096;

// Raw 8N1 without flow control; CLOCAL so a missing carrier never blocks.
bool ConfigureRaw(int fd) {
  termios tio{};
  if (::tcgetattr(fd, &tio) != 0) return false;
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

// Serial devices belong to the group "dialout"; a refusal nearly always
// means the user is not a member yet.
constexpr const char* kPermissionHint = " (the user may need to be in the \"dialout\" group)";

QString SystemReason(int error) {
  QString reason = QString::fromLocal8Bit(std::strerror(error));
  if (error == EACCES) reason += QString::fromLatin1(kPermissionHint);
  return reason;
}

}  // namespace

TSerialDevice::TSerialDevice(int fd, const QString& path) : fd_(fd), path_(path) {}

TSerialDevice::~TSerialDevice() { Close(false); }

std::unique_ptr<TSerialDevice> TSerialDevice::Open(const QString& path, QString* error) {
  const QByteArray native = QFile::encodeName(path);
  const int fd = ::open(native.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    if (error) *error = SystemReason(errno);
    return nullptr;
  }
  if (!::isatty(fd)) {
    ::close(fd);
    if (error) *error = SystemReason(ENOTTY);
    return nullptr;
  }
  if (!ConfigureRaw(fd)) {
    const int saved = errno;
    ::close(fd);
    if (error) *error = SystemReason(saved);
    return nullptr;
  }
  // Keep programs that ignore lock files from opening the line meanwhile.
  ::ioctl(fd, TIOCEXCL);
  return std::unique_ptr<TSerialDevice>(new TSerialDevice(fd, path));
}

bool TSerialDevice::Write(const QByteArray& data, int waitMs) {
  qsizetype done = 0;
  while (fd_ >= 0 && done < data.size()) {
    const ssize_t n = ::write(fd_, data.constData() + done, static_cast<size_t>(data.size() - done));
    if (n > 0) {
      done += n;
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno == EAGAIN) {
      pollfd p{fd_, POLLOUT, 0};
      if (::poll(&p, 1, waitMs) > 0 && !(p.revents & (POLLERR | POLLHUP | POLLNVAL))) continue;
    }
    return false;
  }
  return fd_ >= 0;
}

QByteArray TSerialDevice::ReadFor(int ms, bool* lost) {
  if (lost) *lost = false;
  QByteArray result;
  if (fd_ < 0) {
    if (lost) *lost = true;
    return result;
  }
  pollfd p{fd_, POLLIN, 0};
  int ready;
  do {
    ready = ::poll(&p, 1, ms);
  } while (ready < 0 && errno == EINTR);
  if (ready <= 0) return result;
  char buffer[kReadChunk];
  for (;;) {
    const ssize_t n = ::read(fd_, buffer, sizeof buffer);
    if (n > 0) {
      result.append(buffer, n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno == EAGAIN) break;
    // 0 or an error such as EIO: the device has gone.
    if (lost) *lost = true;
    break;
  }
  return result;
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
  bool lost = false;
  const QByteArray data = ReadFor(0, &lost);
  if (lost) {
    // Stop watching at once: a hung-up descriptor stays readable forever.
    Close(true);
  }
  if (!data.isEmpty()) emit DataReceived(data);
  if (lost) emit Lost();
}

void TSerialDevice::Close(bool fromNotifier) {
  if (notifier_) {
    notifier_->setEnabled(false);
    if (fromNotifier) {
      notifier_.release()->deleteLater();
    } else {
      notifier_.reset();
    }
  }
  if (fd_ >= 0) {
    // The exclusive mark belongs to the terminal, not to this descriptor.
    ::ioctl(fd_, TIOCNXCL);
    ::close(fd_);
    fd_ = -1;
  }
}

}  // namespace platform
