#pragma once

#include <QString>
#include <QStringList>

#include "remote/remote_profile.h"

// Forwarding profiles in the settings store: one key per target application
// below "DDESetup", holding eight text values. Every access opens the store
// afresh; failures are silent and a failed read gives the empty text.
namespace remote {

inline constexpr char kProfilesKey[] = "DDESetup";

// Value names of a profile key.
inline constexpr char kTypeValue[] = "Type";
inline constexpr char kTopicValue[] = "Topic";
inline constexpr char kExePathValue[] = "ExePath";
inline constexpr char kDBPathValue[] = "DBPath";
inline constexpr char kPokeDataValue[] = "PokeData";
inline constexpr char kPokeLocationValue[] = "PokeLocation";
inline constexpr char kCommandsValue[] = "Commands";
inline constexpr char kStartExeValue[] = "StartExe";

// Stored texts of the type and the start flag (compared case-sensitively).
inline constexpr char kTypeDdeLink[] = "DDE";
inline constexpr char kTypeVbsScript[] = "VBS";
inline constexpr char kYes[] = "YES";
inline constexpr char kNo[] = "NO";

// The general settings key and the value that remembers the chosen profile
// as its position in the sorted list ("-1" for none).
inline constexpr char kSettingsKey[] = "Settings";
inline constexpr char kCurrentDDESettingValue[] = "CurrentDDESetting";

// False for a name that would address some other key: one holding a key
// separator ("/" or "\"). The empty name is valid and addresses the
// DDESetup key itself, which holds no values.
bool IsValidProfileName(const QString& application);

// The names of all stored profiles, as spelled in the store, unsorted.
QStringList StoredProfileNames();

// One value of one profile. For an invalid name a read gives "" and a write
// does nothing, so no other key is ever touched.
QString ReadProfileValue(const QString& application, const QString& valueName);
void WriteProfileValue(const QString& application, const QString& valueName,
                       const QString& text);

// The profile named `application`, with that name as its Application
// (missing values read as empty text).
TRemoteProfile ReadProfile(const QString& application);

// Makes the stored profile `application` equal to `profile` (whose own
// Application is not looked at), value by value in the fixed
// order (Type, Topic, ExePath, DBPath, PokeData, PokeLocation, Commands,
// StartExe); the type is stored as "DDE" when `DdeLink` is set and as "VBS"
// otherwise. Each write rewrites the whole settings file, and the dialog
// saves on every keystroke, so a value that already reads as its new text
// is left alone (a missing value reads as empty text).
void WriteProfile(const QString& application, const TRemoteProfile& profile);

// Removes the profile's key with everything below it. Does nothing for the
// empty or an invalid name, so it can never remove other profiles.
void DeleteProfile(const QString& application);

}  // namespace remote
