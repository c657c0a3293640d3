#pragma once

#include <QString>
#include <QStringList>

// Which lines are offered, in a stable order: the serial ports the system
// reports, then /dev/modem when it exists, then the device paths and
// server URLs of the "ExtraLines" setting.
namespace LineList {

constexpr const char* kSettingsKey = "Settings";
constexpr const char* kExtraLinesValue = "ExtraLines";
constexpr const char* kModemAlias = "/dev/modem";
// Hand-written lists use either.
constexpr const char* kExtraLinesSeparators = ";,";

// Every line, each device and each server once.
QStringList CollectLineNames();

// The names of an "ExtraLines" value, separated by ";" or ","; blanks
// around each name are ignored.
QStringList SplitExtraLines(const QString& value);

// `candidates` in their order, leaving out empty names, any name that
// reaches a device already listed (by path, or through symbolic links) and
// any URL naming a server already listed ("ncid://host" is
// "ncid://host:3333").
QStringList RemoveDuplicateDevices(const QStringList& candidates);

// Adds `name` to the "ExtraLines" setting, unless it is there already
// (also under another spelling); the rest of the value stays as it was
// written. Returns the name the line is listed under.
QString AddExtraLine(const QString& name);

}  // namespace LineList
