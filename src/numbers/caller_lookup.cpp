#include "numbers/caller_lookup.h"

#include <algorithm>

#include "inidb/ini_dbase.h"
#include "numbers/equivalent_callers.h"

namespace numbers {

void ForEachCaller(TIniDBase& db, const std::function<void(const TCallerRecord&)>& visit) {
  // The file is checked and parsed once for the whole walk.
  const TIniDBSnapshot snapshot(db);
  const TStringList& keys = db.GetRecordList();
  const std::size_t count = static_cast<std::size_t>(std::max(db.GetNumRecs(), 0));
  TCallerRecord record{};
  for (std::size_t i = 0; i < count && i < keys.size(); ++i) {
    db.GetRecord(TDBKeyStr(keys[i]), record);
    visit(record);
  }
}

std::vector<TCallerRecord> FindCallers(TIniDBase& db, const std::string& number,
                                       TEquivalentCallers& equivalents) {
  std::vector<TCallerRecord> found;
  ForEachCaller(db, [&](const TCallerRecord& record) {
    if (record.CallerID.Get() == number) found.push_back(record);
  });
  if (found.empty()) found = equivalents.Find(db, number);
  return found;
}

}  // namespace numbers
