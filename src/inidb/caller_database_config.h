#pragma once

#include "inidb/ini_dbase.h"

// The stored configuration of the program's caller database: the fields
// CallerName and CallerID (20 characters each), CallerName the sorted key,
// file "DATABASE.INI" until the program names its own file.
extern const char CallerDatabaseConfig[];

// The name of the program's caller database file, in its data folder.
inline constexpr char kCallersFileName[] = "Callers.DB";

// Gives `db` the caller database configuration. The database is closed
// first if it was open.
void ApplyCallerDatabaseConfig(TIniDBase& db);
