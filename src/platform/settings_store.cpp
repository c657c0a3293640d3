#include "settings_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <functional>

#include "platform/settings_document.h"

namespace platform {
namespace {

// QSettings guards its writes of a file with this lock file too, so tools
// built on it and this program never interleave their changes.
constexpr const char* kLockSuffix = ".lock";
constexpr int kLockWaitMs = 2000;

TSettingsDocument ReadDocument(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return TSettingsDocument();
  return TSettingsDocument(file.readAll());
}

// Reads the file, applies `edit` and writes the file back only when the
// edit changed its text, replacing it at once (a crash leaves the old or
// the new file). Failures are silent, as the registry's were.
void EditDocument(const std::function<bool(TSettingsDocument&)>& edit) {
  const QString path = SettingsFilePath();
  QDir().mkpath(QFileInfo(path).absolutePath());
  QLockFile lock(path + QLatin1String(kLockSuffix));
  if (!lock.tryLock(kLockWaitMs)) return;
  TSettingsDocument document = ReadDocument(path);
  if (!edit(document)) return;
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return;
  file.write(document.Content());
  file.commit();
}

}  // namespace

QString SettingsFilePath() {
  QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (base.isEmpty()) base = QDir::homePath() + QStringLiteral("/.config");
  return base + QStringLiteral("/Varnock/Quorvel.ini");
}

QString ReadSettingValue(const QString& keyPath, const QString& name) {
  return ReadDocument(SettingsFilePath()).Value(keyPath, name).value_or(QString());
}

void WriteSettingValue(const QString& keyPath, const QString& name, const QString& value) {
  EditDocument([&](TSettingsDocument& document) { return document.SetValue(keyPath, name, value); });
}

QStringList SettingSubkeys(const QString& keyPath) { return ReadDocument(SettingsFilePath()).Subkeys(keyPath); }

void DeleteSettingKey(const QString& keyPath) {
  EditDocument([&](TSettingsDocument& document) { return document.RemoveKey(keyPath); });
}

}  // namespace platform
