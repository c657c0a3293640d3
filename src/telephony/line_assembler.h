#pragma once

#include <QByteArray>
#include <QList>

// Cuts the byte stream from a modem into lines. CR and LF both end a line;
// empty lines are skipped. A line that grows past kMaxLineBytes without a
// line end is dropped whole (up to its eventual line end), so a device that
// sends endless garbage cannot make memory grow.
class TLineAssembler {
 public:
  static constexpr int kMaxLineBytes = 1024;

  // Adds received bytes and returns the lines they complete, without line ends.
  QList<QByteArray> Feed(const QByteArray& data);
  // Forgets a partial line, for example after the device was reopened.
  void Reset();

  // Bytes held for the line not yet ended; never more than kMaxLineBytes.
  int PendingBytes() const { return static_cast<int>(pending_.size()); }

 private:
  QByteArray pending_;
  bool discarding_ = false;
};
