#pragma once

#include <QString>
#include <string>

#include "inidb/caller_record.h"
#include "inidb/ini_dbase.h"

// The caller record and keys as call handling and editing use them.
namespace calls {

// A record of the name and number, each cut to the field's 20 bytes.
TCallerRecord MakeCallerRecord(const std::string& name, const std::string& number);
std::string RecordCallerName(const TCallerRecord& record);
std::string RecordCallerID(const TCallerRecord& record);

// The database key of a caller name: its first 31 bytes.
TDBKeyStr CallerKey(const QString& name);

}  // namespace calls
