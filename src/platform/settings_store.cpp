#include "settings_store.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace platform {
namespace {

// Walks `keyPath` group by group, following the spelling already in the
// file where a group matches without regard to case. Returns the path in the
// file's spelling (new parts keep the caller's spelling).
QString ResolveKeyPath(QSettings& s, const QString& keyPath) {
  QStringList resolved;
  bool existing = true;
  for (const QString& part : keyPath.split('/', Qt::SkipEmptyParts)) {
    QString spelled = part;
    if (existing) {
      existing = false;
      for (const QString& group : s.childGroups()) {
        if (group.compare(part, Qt::CaseInsensitive) == 0) {
          spelled = group;
          existing = true;
          break;
        }
      }
    }
    resolved << spelled;
    if (existing) s.beginGroup(spelled);
  }
  while (!s.group().isEmpty()) s.endGroup();
  return resolved.join('/');
}

QString ResolveValueName(QSettings& s, const QString& name) {
  for (const QString& key : s.childKeys()) {
    if (key.compare(name, Qt::CaseInsensitive) == 0) return key;
  }
  return name;
}

}  // namespace

QString SettingsFilePath() {
  QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (base.isEmpty()) base = QDir::homePath() + QStringLiteral("/.config");
  return base + QStringLiteral("/Varnock/Quorvel.ini");
}

QString ReadSettingValue(const QString& keyPath, const QString& name) {
  QSettings s(SettingsFilePath(), QSettings::IniFormat);
  s.beginGroup(ResolveKeyPath(s, keyPath));
  const QVariant v = s.value(ResolveValueName(s, name));
  return v.canConvert<QString>() ? v.toString() : QString();
}

void WriteSettingValue(const QString& keyPath, const QString& name, const QString& value) {
  QSettings s(SettingsFilePath(), QSettings::IniFormat);
  s.beginGroup(ResolveKeyPath(s, keyPath));
  s.setValue(ResolveValueName(s, name), value);
  s.endGroup();
  s.sync();
}

QStringList SettingSubkeys(const QString& keyPath) {
  QSettings s(SettingsFilePath(), QSettings::IniFormat);
  s.beginGroup(ResolveKeyPath(s, keyPath));
  return s.childGroups();
}

void DeleteSettingKey(const QString& keyPath) {
  QSettings s(SettingsFilePath(), QSettings::IniFormat);
  const QString resolved = ResolveKeyPath(s, keyPath);
  if (resolved.isEmpty()) return;  // never wipe the whole root
  s.remove(resolved);
  s.sync();
}

}  // namespace platform
