#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "inidb/caller_record.h"
#include "numbers/number_equivalence.h"

class TIniDBase;

namespace numbers {

// The caller lookup's second pass, for a call whose number no stored number
// equals as text: the callers whose stored number is the same telephone
// number as the call's, read with the home region. Each stored number is
// parsed once and remembered by its text, so a call costs one walk over the
// records and no parsing unless numbers were added or changed.
class TEquivalentCallers {
 public:
  explicit TEquivalentCallers(const std::string& homeRegion);

  const std::string& HomeRegion() const { return equivalence_.HomeRegion(); }
  // Reads numbers with `region` from now on.
  void SetHomeRegion(const std::string& region);

  // Reads every stored number now, so that the next calls need not.
  void Prepare(TIniDBase& db);

  // The matching callers in the order of the database's sorted list, so the
  // last one is the one a call leaves on display. None for a call number
  // that is no telephone number ("BLOCKED", "NO DATA", "").
  std::vector<TCallerRecord> Find(TIniDBase& db, std::string_view callNumber);

 private:
  const std::string& IdentityOf(const std::string& storedNumber);

  TNumberEquivalence equivalence_;
  std::unordered_map<std::string, std::string> identities_;
};

}  // namespace numbers
