#include "numbers/equivalent_callers.h"

#include "inidb/ini_store.h"
#include "numbers/caller_lookup.h"

namespace numbers {
namespace {

// Texts no longer in the file are forgotten once this many are remembered.
constexpr std::size_t kMaxRemembered = 4 * MaxIniRecords;

}  // namespace

TEquivalentCallers::TEquivalentCallers(const std::string& homeRegion)
    : equivalence_(homeRegion) {}

void TEquivalentCallers::SetHomeRegion(const std::string& region) {
  if (region == equivalence_.HomeRegion()) return;
  equivalence_ = TNumberEquivalence(region);
  identities_.clear();
}

const std::string& TEquivalentCallers::IdentityOf(const std::string& storedNumber) {
  const auto known = identities_.find(storedNumber);
  if (known != identities_.end()) return known->second;
  if (identities_.size() >= kMaxRemembered) identities_.clear();
  return identities_.emplace(storedNumber, equivalence_.Identity(storedNumber)).first->second;
}

void TEquivalentCallers::Prepare(TIniDBase& db) {
  ForEachCaller(db, [&](const TCallerRecord& record) { IdentityOf(record.CallerID.Get()); });
}

std::vector<TCallerRecord> TEquivalentCallers::Find(TIniDBase& db, std::string_view callNumber) {
  std::vector<TCallerRecord> found;
  const std::string wanted = equivalence_.Identity(callNumber);
  if (wanted.empty()) return found;
  ForEachCaller(db, [&](const TCallerRecord& record) {
    if (IdentityOf(record.CallerID.Get()) == wanted) found.push_back(record);
  });
  return found;
}

}  // namespace numbers
