#include "telephony/line_list.h"

#include <QFileInfo>
#include <QHostAddress>
#include <QRegularExpression>
#include <QSet>

#include "platform/serial_ports.h"
#include "platform/settings_store.h"
#include "telephony/line_address.h"

namespace LineList {

namespace {

QString ExtraLinesValue() {
  return platform::ReadSettingValue(QString::fromLatin1(kSettingsKey), QString::fromLatin1(kExtraLinesValue));
}

// What `name` reaches, for telling duplicates apart: a server's address in
// one spelling, a device's canonical path.
QString Destination(const QString& name) {
  if (LineAddress::IsNetworkName(name)) {
    std::optional<TLineAddress> address = LineAddress::Parse(name);
    if (!address) return name;
    const QHostAddress ip(address->host);
    if (!ip.isNull()) address->host = ip.toString();
    return address->Url().toLower();
  }
  const QString canonical = QFileInfo(name).canonicalFilePath();
  return canonical.isEmpty() ? QFileInfo(name).absoluteFilePath() : canonical;
}

}  // namespace

QStringList CollectLineNames() {
  QStringList candidates = platform::SerialPortPaths();
  if (QFileInfo::exists(QString::fromLatin1(kModemAlias))) candidates << QString::fromLatin1(kModemAlias);
  candidates << SplitExtraLines(ExtraLinesValue());
  return RemoveDuplicateDevices(candidates);
}

QStringList SplitExtraLines(const QString& value) {
  QStringList paths;
  static const QRegularExpression separators(QStringLiteral("[%1]").arg(QLatin1String(kExtraLinesSeparators)));
  for (const QString& part : value.split(separators)) {
    const QString path = part.trimmed();
    if (!path.isEmpty()) paths << path;
  }
  return paths;
}

QStringList RemoveDuplicateDevices(const QStringList& candidates) {
  QStringList result;
  QSet<QString> seen;
  for (const QString& name : candidates) {
    if (name.isEmpty()) continue;
    const QString device = Destination(name);
    if (seen.contains(device) || seen.contains(name)) continue;
    seen.insert(device);
    seen.insert(name);
    result << name;
  }
  return result;
}

QString AddExtraLine(const QString& name) {
  const QString value = ExtraLinesValue();
  const QString destination = Destination(name);
  for (const QString& listed : SplitExtraLines(value)) {
    if (listed == name || Destination(listed) == destination) return listed;
  }
  // In the separator the user already writes with.
  const QChar separator =
      value.contains(QLatin1Char(',')) && !value.contains(QLatin1Char(';')) ? QLatin1Char(',') : QLatin1Char(';');
  const QString trimmed = value.trimmed();
  const bool needsSeparator =
      !trimmed.isEmpty() && !QString::fromLatin1(kExtraLinesSeparators).contains(trimmed.back());
  platform::WriteSettingValue(QString::fromLatin1(kSettingsKey), QString::fromLatin1(kExtraLinesValue),
                              trimmed + (needsSeparator ? QString(separator) : QString()) + name);
  return name;
}

}  // namespace LineList
