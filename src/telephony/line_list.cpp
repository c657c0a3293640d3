#include "telephony/line_list.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include "platform/serial_ports.h"
#include "platform/settings_store.h"

namespace LineList {

QStringList CollectLineNames() {
  QStringList candidates = platform::SerialPortPaths();
  if (QFileInfo::exists(QString::fromLatin1(kModemAlias))) candidates << QString::fromLatin1(kModemAlias);
  candidates << SplitExtraLines(
      platform::ReadSettingValue(QString::fromLatin1(kSettingsKey), QString::fromLatin1(kExtraLinesValue)));
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
    const QString canonical = QFileInfo(name).canonicalFilePath();
    const QString device = canonical.isEmpty() ? QFileInfo(name).absoluteFilePath() : canonical;
    if (seen.contains(device) || seen.contains(name)) continue;
    seen.insert(device);
    seen.insert(name);
    result << name;
  }
  return result;
}

}  // namespace LineList
