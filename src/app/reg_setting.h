#pragma once

#include <QString>
#include <string>

// The program's persistent settings, all text values under one key.
inline constexpr char kSettingsKey[] = "Settings";
inline constexpr char kModeSetting[] = "Mode";
inline constexpr char kModemSetting[] = "Modem";
// Days the call log keeps a call; 0 (the default) keeps every call.
inline constexpr char kCallLogDaysSetting[] = "CallLogDays";
inline constexpr char kRegionSetting[] = "Region";
inline constexpr char kActiveModeValue[] = "0";
inline constexpr char kPassiveModeValue[] = "1";

// The one accessor for the Settings key. Reading returns the stored text, or
// "" when it is missing or cannot be read; `value` is then unused. Writing
// stores `value` and returns "". Failures are never reported.
QString RegSetting(const QString& name, bool write, const QString& value = QString());

// The home region numbers are read in: the stored "Region" when it names a
// region, else the system locale's territory, else "US".
std::string HomeRegionSetting();
