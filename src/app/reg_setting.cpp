#include "reg_setting.h"

#include <QLocale>

#include "numbers/home_region.h"
#include "platform/settings_store.h"

QString RegSetting(const QString& name, bool write, const QString& value) {
  const QString key = QString::fromLatin1(kSettingsKey);
  if (!write) return platform::ReadSettingValue(key, name);
  platform::WriteSettingValue(key, name, value);
  return QString();
}

std::string HomeRegionSetting() {
  return numbers::HomeRegion(RegSetting(QString::fromLatin1(kRegionSetting), false).toStdString(),
                             QLocale::system().name().toStdString());
}
