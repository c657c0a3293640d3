#pragma once

#include <QString>
#include <QStringList>

// Which device paths are offered as lines, in a stable order: the serial
// ports the system reports, then /dev/modem when it exists, then the paths
// of the "ExtraLines" setting.
namespace LineList {

constexpr const char* kSettingsKey = "Settings";
constexpr const char* kExtraLinesValue = "ExtraLines";
constexpr const char* kModemAlias = "/dev/modem";
// Hand-written lists use either.
constexpr const char* kExtraLinesSeparators = ";,";

// Every line, each device once.
QStringList CollectLineNames();

// The paths of an "ExtraLines" value, separated by ";" or ","; blanks
// around each path are ignored.
QStringList SplitExtraLines(const QString& value);

// `candidates` in their order, leaving out empty names and any name that
// reaches a device already listed (by path, or through symbolic links).
QStringList RemoveDuplicateDevices(const QStringList& candidates);

}  // namespace LineList
