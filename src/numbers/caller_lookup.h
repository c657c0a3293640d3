#pragma once

#include <functional>
#include <string>
#include <vector>

#include "inidb/caller_record.h"

class TIniDBase;

namespace numbers {

class TEquivalentCallers;

// Visits every caller in the order a call looks them up: by the record
// count, over the sorted key list, which may hold fewer keys than counted.
void ForEachCaller(TIniDBase& db, const std::function<void(const TCallerRecord&)>& visit);

// The callers a call from `number` (as displayed, "212-555-0101") shows, in
// list order: those stored with exactly this text, else those stored with
// the same number written another way.
std::vector<TCallerRecord> FindCallers(TIniDBase& db, const std::string& number,
                                       TEquivalentCallers& equivalents);

}  // namespace numbers
