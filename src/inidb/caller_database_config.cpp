#include "inidb/caller_database_config.h"

#include "inidb/component_stream.h"

const char CallerDatabaseConfig[] =
    "object DB: TIniDBase\n"
    "  FileName = 'DATABASE.INI'\n"
    "  IndexedField = 'CallerName'\n"
    "  SortedIndex = True\n"
    "  FakeProperty = (20 True 'CallerName' 20 True 'CallerID')\n"
    "end\n";

void ApplyCallerDatabaseConfig(TIniDBase& db) {
  db.SetOpen(false);
  LoadComponentConfig(db, CallerDatabaseConfig);
}
