#include "test_pty.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

TTestPty::TTestPty() {
  master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) return;
  device_ = QString::fromLocal8Bit(::ptsname(master_));
}

TTestPty::~TTestPty() {
  if (master_ >= 0) ::close(master_);
}

void TTestPty::SetCookedSlowSettings() {
  const int fd = ::open(device_.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  termios tio{};
  ::tcgetattr(fd, &tio);
  tio.c_lflag |= ICANON | ECHO | ISIG;
  tio.c_iflag |= ICRNL;
  tio.c_oflag |= OPOST | ONLCR;
  ::cfsetispeed(&tio, B4800);
  ::cfsetospeed(&tio, B4800);
  ::tcsetattr(fd, TCSANOW, &tio);
  ::close(fd);
}

termios TTestPty::Settings() const {
  termios tio{};
  const int fd = ::open(device_.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  ::tcgetattr(fd, &tio);
  ::close(fd);
  return tio;
}

QByteArray TTestPty::ReadWritten() {
  QByteArray written;
  char buffer[256];
  ssize_t n;
  while ((n = ::read(master_, buffer, sizeof buffer)) > 0) written.append(buffer, n);
  return written;
}

void TTestPty::Answer(const QByteArray& bytes) {
  if (::write(master_, bytes.constData(), static_cast<size_t>(bytes.size())) != bytes.size()) std::abort();
}

bool SameSettings(const termios& a, const termios& b) {
  return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_cflag == b.c_cflag && a.c_lflag == b.c_lflag &&
         std::memcmp(a.c_cc, b.c_cc, sizeof a.c_cc) == 0 && ::cfgetispeed(&a) == ::cfgetispeed(&b) &&
         ::cfgetospeed(&a) == ::cfgetospeed(&b);
}
