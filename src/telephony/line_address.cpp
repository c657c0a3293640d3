#include "telephony/line_address.h"

#include <QCoreApplication>
#include <QHostAddress>
#include <QRegularExpression>

namespace {

constexpr const char* kSchemeEnd = "://";
// Host names as DNS allows them: labels of letters, digits and "-" (not at
// either end; "_" is met in local names too), at most 63 characters each
// and 253 in all.
constexpr int kMaxHostNameLength = 253;
constexpr int kMaxPort = 65535;

bool IsHostName(const QString& host) {
  static const QRegularExpression label(QStringLiteral("^[A-Za-z0-9_](?:[A-Za-z0-9_-]{0,61}[A-Za-z0-9_])?$"));
  if (host.isEmpty() || host.size() > kMaxHostNameLength) return false;
  QString name = host;
  if (name.endsWith(QLatin1Char('.'))) name.chop(1);
  for (const QString& part : name.split(QLatin1Char('.'))) {
    if (!label.match(part).hasMatch()) return false;
  }
  // All digits and dots but not an address ("300.1.1.1"): a mistyped address.
  static const QRegularExpression numeric(QStringLiteral("^[0-9.]+$"));
  return !numeric.match(name).hasMatch() || QHostAddress(name).protocol() == QAbstractSocket::IPv4Protocol;
}

QString BadPort(const QString& port) {
  return QCoreApplication::translate("LineAddress", "Not a valid port: %1 (1 to 65535)").arg(port);
}

}  // namespace

QString TLineAddress::Url() const {
  if (!IsNetwork()) return QString();
  const char* scheme = kind == Kind::kNcid ? LineAddress::kNcidScheme : LineAddress::kFritzBoxScheme;
  const QString shownHost = host.contains(QLatin1Char(':')) ? QLatin1Char('[') + host + QLatin1Char(']') : host;
  return QString::fromLatin1(scheme) + QLatin1String(kSchemeEnd) + shownHost + QLatin1Char(':') + QString::number(port);
}

namespace LineAddress {

bool IsNetworkName(const QString& name) {
  static const QRegularExpression url(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*://"));
  return url.match(name).hasMatch();
}

bool IsValidHost(const QString& host, QString* problem) {
  const auto fail = [problem](const QString& message) {
    if (problem) *problem = message;
    return false;
  };
  if (host.isEmpty()) return fail(QCoreApplication::translate("LineAddress", "No host name or address given"));
  static const QRegularExpression ipv6Like(QStringLiteral("^[0-9A-Fa-f:.]+$"));
  if (host.contains(QLatin1Char(':')) && ipv6Like.match(host).hasMatch()) {
    if (QHostAddress(host).protocol() == QAbstractSocket::IPv6Protocol) return true;
    return fail(QCoreApplication::translate("LineAddress", "Not a valid IPv6 address: %1").arg(host));
  }
  if (!IsHostName(host))
    return fail(QCoreApplication::translate("LineAddress", "Not a valid host name or address: %1").arg(host));
  return true;
}

bool IsValidPort(int port, QString* problem) {
  if (port >= 1 && port <= kMaxPort) return true;
  if (problem) *problem = BadPort(QString::number(port));
  return false;
}

std::optional<TLineAddress> Parse(const QString& name, QString* problem) {
  const auto fail = [problem](const QString& message) -> std::optional<TLineAddress> {
    if (problem) *problem = message;
    return std::nullopt;
  };
  if (!IsNetworkName(name)) {
    if (name.isEmpty()) return fail(QCoreApplication::translate("LineAddress", "No line given"));
    return TLineAddress{};
  }
  const qsizetype schemeEnd = name.indexOf(QLatin1String(kSchemeEnd));
  const QString scheme = name.left(schemeEnd).toLower();
  TLineAddress address;
  if (scheme == QLatin1String(kNcidScheme)) {
    address.kind = TLineAddress::Kind::kNcid;
    address.port = kNcidDefaultPort;
  } else if (scheme == QLatin1String(kFritzBoxScheme)) {
    address.kind = TLineAddress::Kind::kFritzBox;
    address.port = kFritzBoxDefaultPort;
  } else {
    return fail(QCoreApplication::translate("LineAddress", "Unknown kind of line: %1 (ncid:// or fritzbox://)")
                    .arg(name.left(schemeEnd + 3)));
  }

  QString rest = name.mid(schemeEnd + 3);
  // A slash at the end, as URLs are often written, is not a path.
  if (rest.endsWith(QLatin1Char('/'))) rest.chop(1);
  std::optional<QString> portText;
  if (rest.startsWith(QLatin1Char('['))) {
    const qsizetype close = rest.indexOf(QLatin1Char(']'));
    address.host = rest.mid(1, close - 1);
    const QString after = close < 0 ? QString() : rest.mid(close + 1);
    if (close < 0 || !address.host.contains(QLatin1Char(':')) ||
        (!after.isEmpty() && !after.startsWith(QLatin1Char(':')))) {
      return fail(QCoreApplication::translate("LineAddress", "Not a valid IPv6 address: %1").arg(rest));
    }
    if (!after.isEmpty()) portText = after.mid(1);
  } else {
    if (rest.count(QLatin1Char(':')) > 1)
      return fail(QCoreApplication::translate("LineAddress", "An IPv6 address goes in brackets: [%1]").arg(rest));
    const qsizetype colon = rest.indexOf(QLatin1Char(':'));
    address.host = rest.left(colon);
    if (colon >= 0) portText = rest.mid(colon + 1);
  }
  QString hostProblem;
  if (!IsValidHost(address.host, &hostProblem)) return fail(hostProblem);
  if (portText) {
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,5}$"));
    const int port = portText->toInt();
    if (!digits.match(*portText).hasMatch() || !IsValidPort(port)) return fail(BadPort(*portText));
    address.port = static_cast<quint16>(port);
  }
  return address;
}

}  // namespace LineAddress
