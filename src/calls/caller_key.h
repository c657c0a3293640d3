#pragma once

#include <QString>

#include "inidb/db_key.h"

namespace calls {

// The database key of a caller name: its first 31 bytes.
TDBKeyStr CallerKey(const QString& name);

}  // namespace calls
