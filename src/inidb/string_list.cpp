#include "inidb/string_list.h"

#include <algorithm>
#include <cwchar>
#include <cwctype>
#include <numeric>

#include "inidb/utf8.h"

std::wstring FoldForCollation(const std::string& text) {
  const std::u32string decoded = DecodeUtf8(text);
  std::wstring folded;
  folded.reserve(decoded.size());
  for (char32_t c : decoded) {
    folded.push_back(static_cast<wchar_t>(std::towlower(static_cast<std::wint_t>(c))));
  }
  return folded;
}

namespace {

int CompareFolded(const std::wstring& a, const std::wstring& b) {
  return std::wcscoll(a.c_str(), b.c_str());
}

}  // namespace

int CompareTextInLocale(const std::string& a, const std::string& b) {
  return CompareFolded(FoldForCollation(a), FoldForCollation(b));
}

void TStringList::SetSorted(bool value) {
  if (value == IsSorted) return;
  IsSorted = value;
  if (!IsSorted) return;
  // Re-add in the present order: the first of equal texts stays.
  std::vector<std::string> items = std::move(Items);
  Clear();
  for (const std::string& item : items) Add(item);
}

bool TStringList::Add(const std::string& text) {
  std::wstring folded = FoldForCollation(text);
  if (!IsSorted) {
    Items.push_back(text);
    Folded.push_back(std::move(folded));
    return true;
  }
  const auto place = std::lower_bound(Folded.begin(), Folded.end(), folded,
                                      [](const std::wstring& a, const std::wstring& b) {
                                        return CompareFolded(a, b) < 0;
                                      });
  if (place != Folded.end() && CompareFolded(*place, folded) == 0) return false;
  const auto index = place - Folded.begin();
  Folded.insert(place, std::move(folded));
  Items.insert(Items.begin() + index, text);
  return true;
}

void TStringList::Clear() {
  Items.clear();
  Folded.clear();
}

int TStringList::IndexOf(const std::string& text) const {
  const std::wstring folded = FoldForCollation(text);
  for (std::size_t i = 0; i < Folded.size(); ++i) {
    if (CompareFolded(Folded[i], folded) == 0) return static_cast<int>(i);
  }
  return -1;
}
