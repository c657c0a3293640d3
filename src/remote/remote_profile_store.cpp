#include "remote/remote_profile_store.h"

#include <utility>

#include "platform/settings_store.h"

namespace remote {
namespace {

QString ProfileKeyPath(const QString& application) {
  return QLatin1String(kProfilesKey) + QLatin1Char('/') + application;
}

}  // namespace

bool IsValidProfileName(const QString& application) {
  return !application.contains(QLatin1Char('/')) && !application.contains(QLatin1Char('\\'));
}

QStringList StoredProfileNames() {
  return platform::SettingSubkeys(QLatin1String(kProfilesKey));
}

QString ReadProfileValue(const QString& application, const QString& valueName) {
  if (!IsValidProfileName(application)) return QString();
  return platform::ReadSettingValue(ProfileKeyPath(application), valueName);
}

void WriteProfileValue(const QString& application, const QString& valueName,
                       const QString& text) {
  if (!IsValidProfileName(application)) return;
  platform::WriteSettingValue(ProfileKeyPath(application), valueName, text);
}

TRemoteProfile ReadProfile(const QString& application) {
  TRemoteProfile p;
  p.Application = application;
  const QString type = ReadProfileValue(application, kTypeValue);
  p.DdeLink = type == QLatin1String(kTypeDdeLink);
  p.VbsScript = type == QLatin1String(kTypeVbsScript);
  p.Topic = ReadProfileValue(application, kTopicValue);
  p.ExePath = ReadProfileValue(application, kExePathValue);
  p.DBPath = ReadProfileValue(application, kDBPathValue);
  p.PokeData = ReadProfileValue(application, kPokeDataValue);
  p.PokeLocation = ReadProfileValue(application, kPokeLocationValue);
  p.Commands = ReadProfileValue(application, kCommandsValue);
  p.StartExe = ReadProfileValue(application, kStartExeValue) == QLatin1String(kYes);
  return p;
}

void WriteProfile(const QString& application, const TRemoteProfile& p) {
  const std::pair<const char*, QString> values[] = {
      {kTypeValue, QLatin1String(p.DdeLink ? kTypeDdeLink : kTypeVbsScript)},
      {kTopicValue, p.Topic},
      {kExePathValue, p.ExePath},
      {kDBPathValue, p.DBPath},
      {kPokeDataValue, p.PokeData},
      {kPokeLocationValue, p.PokeLocation},
      {kCommandsValue, p.Commands},
      {kStartExeValue, QLatin1String(p.StartExe ? kYes : kNo)},
  };
  for (const auto& [name, text] : values) {
    if (ReadProfileValue(application, name) != text) WriteProfileValue(application, name, text);
  }
}

void DeleteProfile(const QString& application) {
  if (application.isEmpty() || !IsValidProfileName(application)) return;
  platform::DeleteSettingKey(ProfileKeyPath(application));
}

}  // namespace remote
