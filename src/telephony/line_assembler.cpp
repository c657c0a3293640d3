#include "telephony/line_assembler.h"

QList<QByteArray> TLineAssembler::Feed(const QByteArray& data) {
  QList<QByteArray> lines;
  for (const char c : data) {
    if (c == '\r' || c == '\n') {
      if (!discarding_ && !pending_.isEmpty()) lines.append(pending_);
      pending_.clear();
      discarding_ = false;
      continue;
    }
    if (discarding_) continue;
    if (pending_.size() >= maxLineBytes_) {
      pending_.clear();
      discarding_ = true;
      continue;
    }
    pending_.append(c);
  }
  return lines;
}

void TLineAssembler::Reset() {
  pending_.clear();
  discarding_ = false;
}
