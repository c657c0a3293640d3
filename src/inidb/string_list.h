#pragma once

#include <cstddef>
#include <string>
#include <vector>

// A list of texts that can keep itself sorted. Sorted lists order by the
// user's locale collation without regard to case and drop a text that is
// the same name as one already present (the database's rule, name_fold.h);
// unsorted lists keep insertion order.
class TStringList {
 public:
  using const_iterator = std::vector<std::string>::const_iterator;

  bool Sorted() const { return IsSorted; }
  // Switching sorting on sorts the present texts at once (dropping equals).
  void SetSorted(bool value);

  // Adds `text` at its place; returns false when a sorted list dropped it.
  bool Add(const std::string& text);
  // Replaces the content by `texts`, as adding them one by one would.
  void Assign(const std::vector<std::string>& texts);
  void Clear();

  // Position of `text` (compared as the list compares), or -1.
  int IndexOf(const std::string& text) const;

  std::size_t size() const { return Items.size(); }
  bool empty() const { return Items.empty(); }
  int Count() const { return static_cast<int>(Items.size()); }
  const std::string& operator[](std::size_t i) const { return Items[i]; }
  const std::string& at(std::size_t i) const { return Items.at(i); }
  const_iterator begin() const { return Items.begin(); }
  const_iterator end() const { return Items.end(); }
  const std::vector<std::string>& Strings() const { return Items; }

 private:
  std::vector<std::string> Items;
  std::vector<std::wstring> Folded;  // collation form of each item, same order
  bool IsSorted = false;
};

// Compares two UTF-8 texts without regard to case in the collation of the
// current C locale (LC_COLLATE); <0, 0 or >0, and 0 only for the same name.
int CompareTextInLocale(const std::string& a, const std::string& b);

// The form CompareTextInLocale compares: decoded, case-folded text.
std::wstring FoldForCollation(const std::string& text);
