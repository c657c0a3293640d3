#include "telephony/open_line.h"

#include "telephony/fritzbox_parser.h"
#include "telephony/line_address.h"
#include "telephony/line_error.h"
#include "telephony/ncid_parser.h"
#include "telephony/network_line.h"
#include "telephony/serial_modem_line.h"

std::unique_ptr<TOpenLine> MakeOpenLine(const QString& name, const TLineTimings& timings) {
  QString problem;
  const std::optional<TLineAddress> address = LineAddress::Parse(name, &problem);
  if (!address) throw ELineError(problem.toStdString());
  switch (address->kind) {
    case TLineAddress::Kind::kNcid:
      return std::make_unique<TNetworkLine>(*address, timings,
                                            std::make_unique<TNcidParser>(QByteArrayLiteral(QUORVEL_VERSION)));
    case TLineAddress::Kind::kFritzBox:
      return std::make_unique<TNetworkLine>(*address, timings, std::make_unique<TFritzBoxParser>());
    case TLineAddress::Kind::kSerial:
      break;
  }
  return std::make_unique<TSerialModemLine>(name, timings);
}
