#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

#include "telephony/line_assembler.h"
#include "telephony/line_notice.h"
#include "telephony/untrusted_text.h"

// Reads one line (without its line end) as a caller-ID modem formats it:
// "RING", "NMBR = 5551234", "NAME=JOHN DOE", ... A number or name of "P"
// is withheld, "O" unavailable.
TLineNotice ParseModemLine(const QByteArray& line);

// The serial caller-ID modem's parser: the bytes a modem sends in, the
// notices they make out. No I/O and no clock, so any bytes can be fed.
class TModemParser {
 public:
  std::vector<TLineNotice> Feed(const QByteArray& data);
  // Forgets a partial line, for example after the device was reopened.
  void Reset() { assembler_.Reset(); }

 private:
  TLineAssembler assembler_;
};
