#include "inidb/string_list.h"

#include <algorithm>
#include <cwchar>
#include <numeric>

#include "inidb/name_fold.h"

std::wstring FoldForCollation(const std::string& text) {
  const std::u32string folded = FoldName(text);
  return std::wstring(folded.begin(), folded.end());
}

namespace {

// Collation order; texts the collation cannot tell apart are ordered by
// their characters, so only texts that fold alike are equal.
int CompareFolded(const std::wstring& a, const std::wstring& b) {
  const int order = std::wcscoll(a.c_str(), b.c_str());
  return order != 0 ? order : a.compare(b);
}

bool FoldedLess(const std::wstring& a, const std::wstring& b) { return CompareFolded(a, b) < 0; }

}  // namespace

int CompareTextInLocale(const std::string& a, const std::string& b) {
  return CompareFolded(FoldForCollation(a), FoldForCollation(b));
}

void TStringList::SetSorted(bool value) {
  if (value == IsSorted) return;
  IsSorted = value;
  if (!IsSorted) return;
  std::vector<std::string> items = std::move(Items);
  Clear();
  Assign(items);
}

bool TStringList::Add(const std::string& text) {
  std::wstring folded = FoldForCollation(text);
  if (!IsSorted) {
    Items.push_back(text);
    Folded.push_back(std::move(folded));
    return true;
  }
  const auto place = std::lower_bound(Folded.begin(), Folded.end(), folded, FoldedLess);
  if (place != Folded.end() && *place == folded) return false;
  const auto index = place - Folded.begin();
  Folded.insert(place, std::move(folded));
  Items.insert(Items.begin() + index, text);
  return true;
}

void TStringList::Assign(const std::vector<std::string>& texts) {
  Clear();
  if (!IsSorted) {
    for (const std::string& text : texts) Add(text);
    return;
  }
  // Sorting all at once gives what adding one by one gives (the first of
  // equal texts stays) without moving the list around for every text.
  std::vector<std::wstring> folded;
  folded.reserve(texts.size());
  for (const std::string& text : texts) folded.push_back(FoldForCollation(text));
  std::vector<std::size_t> order(texts.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return FoldedLess(folded[a], folded[b]); });
  Items.reserve(texts.size());
  Folded.reserve(texts.size());
  for (const std::size_t i : order) {
    if (!Folded.empty() && Folded.back() == folded[i]) continue;
    Items.push_back(texts[i]);
    Folded.push_back(std::move(folded[i]));
  }
}

void TStringList::Clear() {
  Items.clear();
  Folded.clear();
}

int TStringList::IndexOf(const std::string& text) const {
  const std::wstring folded = FoldForCollation(text);
  if (IsSorted) {
    const auto place = std::lower_bound(Folded.begin(), Folded.end(), folded, FoldedLess);
    return place != Folded.end() && *place == folded ? static_cast<int>(place - Folded.begin())
                                                     : -1;
  }
  const auto found = std::find(Folded.begin(), Folded.end(), folded);
  return found == Folded.end() ? -1 : static_cast<int>(found - Folded.begin());
}
