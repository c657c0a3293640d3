#include "telephony/open_line.h"

#include "telephony/serial_modem_line.h"

std::unique_ptr<TOpenLine> MakeOpenLine(const QString& name, const TLineTimings& timings) {
  // Every name is a device path so far; other kinds of line will be told
  // apart by their names here.
  return std::make_unique<TSerialModemLine>(name, timings);
}
