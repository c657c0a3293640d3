#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The one rule by which the database compares names without regard to
// letter case: section and key names in the file, and the sorted key list,
// alike. Every letter folds, not only ASCII ones, and the rule does not
// depend on the user's locale, so a file means the same under any locale.
// For ASCII names it is the classic profile routines' rule.

// `name` decoded (bytes that are not UTF-8 taken as Latin-1, see utf8.h)
// with every letter in lower case.
std::u32string FoldName(std::string_view name);

// True when `a` and `b` are the same name without regard to letter case.
bool SameFoldedName(std::string_view a, std::string_view b);

// A hash that is equal for names SameFoldedName takes as one.
std::uint64_t FoldedNameHash(std::string_view name);
