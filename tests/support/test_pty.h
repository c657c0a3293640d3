#pragma once

#include <QByteArray>
#include <QString>
#include <termios.h>

// A pseudo-terminal whose other end the test plays: it sees what is
// written to the device and can answer. The device is held open by nobody
// until a test opens it.
class TTestPty {
 public:
  TTestPty();
  ~TTestPty();
  TTestPty(const TTestPty&) = delete;
  TTestPty& operator=(const TTestPty&) = delete;

  bool Valid() const { return master_ >= 0; }
  const QString& DevicePath() const { return device_; }
  int Master() const { return master_; }

  // Sets the device to 4800 baud, canonical mode with echo: a terminal as a
  // serial console or an old GPS receiver would have it.
  void SetCookedSlowSettings();
  // The device's settings now.
  termios Settings() const;
  // What was written to the device so far (without waiting).
  QByteArray ReadWritten();
  void Answer(const QByteArray& bytes);

 private:
  int master_ = -1;
  QString device_;
};

// Whether two terminal settings are the same in every field that matters.
bool SameSettings(const termios& a, const termios& b);
