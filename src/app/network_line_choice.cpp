#include "app/network_line_choice.h"

#include "telephony/line_address.h"

int TNetworkLineChoice::DefaultPort(Kind kind) {
  return kind == Kind::kNcid ? LineAddress::kNcidDefaultPort : LineAddress::kFritzBoxDefaultPort;
}

QString TNetworkLineChoice::LineName(QString* problem) const {
  QString name = host.trimmed();
  // An IPv6 address may come as it is written in a URL.
  if (name.startsWith(QLatin1Char('[')) && name.endsWith(QLatin1Char(']'))) name = name.mid(1, name.size() - 2);
  if (!LineAddress::IsValidHost(name, problem)) return QString();
  if (!LineAddress::IsValidPort(port, problem)) return QString();
  TLineAddress address;
  address.kind = kind == Kind::kNcid ? TLineAddress::Kind::kNcid : TLineAddress::Kind::kFritzBox;
  address.host = name;
  address.port = static_cast<quint16>(port);
  return address.Url();
}
