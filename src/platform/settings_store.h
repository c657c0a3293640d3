#pragma once

#include <QString>
#include <QStringList>

// The program's settings live in one INI file, the stand-in for the registry
// key HKEY_LOCAL_MACHINE\SOFTWARE\Varnock\Quorvel. A key path names a key
// below that root with "/" between the parts, for example "Settings" or
// "DDESetup/My App". Key and value names match without regard to case, as in
// the registry. Every call opens the file, does its one access and closes it
// again; failures are silent and a failed read gives the empty text. A
// write changes only the line of its value: the rest of the file, written
// by hand or by another program, stays byte for byte (see TSettingsDocument).
namespace platform {

// $XDG_CONFIG_HOME/Varnock/Quorvel.ini ($HOME/.config when XDG_CONFIG_HOME is unset).
QString SettingsFilePath();

// Returns the value `name` under `keyPath`, or "" when it is missing or unreadable.
QString ReadSettingValue(const QString& keyPath, const QString& name);

// Stores `value` under `keyPath`/`name`, creating the key; keeps an existing spelling.
void WriteSettingValue(const QString& keyPath, const QString& name, const QString& value);

// Returns the names of the keys directly below `keyPath`, as spelled in the file.
QStringList SettingSubkeys(const QString& keyPath);

// Removes `keyPath` with every value and key below it.
void DeleteSettingKey(const QString& keyPath);

}  // namespace platform
