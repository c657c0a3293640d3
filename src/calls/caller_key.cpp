#include "calls/caller_key.h"

#include "calls/caller_text.h"

TDBKeyStr calls::CallerKey(const QString& name) { return TDBKeyStr(ToEightBit(name)); }
