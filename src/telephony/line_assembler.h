#pragma once

#include <QByteArray>
#include <QList>

// Cuts the byte stream from a modem or a server into lines. CR and LF both
// end a line; empty lines are skipped. A line that grows past the limit
// without a line end is dropped whole (up to its eventual line end), so a
// peer that sends endless garbage cannot make memory grow.
class TLineAssembler {
 public:
  // The modem's limit: its longest line is a caller-ID tag of a few dozen bytes.
  static constexpr int kMaxLineBytes = 1024;

  explicit TLineAssembler(int maxLineBytes = kMaxLineBytes) : maxLineBytes_(maxLineBytes) {}

  // Adds received bytes and returns the lines they complete, without line ends.
  QList<QByteArray> Feed(const QByteArray& data);
  // Forgets a partial line, for example after the device was reopened.
  void Reset();

  // Bytes held for the line not yet ended; never more than the limit.
  int PendingBytes() const { return static_cast<int>(pending_.size()); }

 private:
  int maxLineBytes_;
  QByteArray pending_;
  bool discarding_ = false;
};
