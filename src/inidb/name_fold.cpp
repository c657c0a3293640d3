#include "inidb/name_fold.h"

#include <algorithm>
#include <cstring>
#include <locale>
#include <stdexcept>

#include "inidb/utf8.h"

namespace {

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsAscii(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

// Lower-case letters of the Unicode character database, taken from a locale
// that has it whatever the user's own locale is.
class TLetterCase {
 public:
  TLetterCase() {
    for (const char* name : {"C.UTF-8", "C.utf8", "en_US.UTF-8"}) {
      try {
        Locale = std::locale(name);
        Facet = &std::use_facet<std::ctype<wchar_t>>(Locale);
        return;
      } catch (const std::runtime_error&) {
        // Not installed here: try the next one.
      }
    }
  }

  char32_t Lower(char32_t c) const {
    if (c < 0x80) return static_cast<char32_t>(FoldAscii(static_cast<char>(c)));
    if (Facet && sizeof(wchar_t) >= 4) {
      return static_cast<char32_t>(Facet->tolower(static_cast<wchar_t>(c)));
    }
    // Without such a locale: at least the Latin-1 letters.
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
    return c;
  }

 private:
  std::locale Locale;
  const std::ctype<wchar_t>* Facet = nullptr;
};

const TLetterCase& LetterCase() {
  static const TLetterCase letterCase;
  return letterCase;
}

// Eight bytes at a time, upper-case ASCII letters folded in place: this
// runs for every lookup of every operation.
std::uint64_t AsciiNameHash(std::string_view name) {
  constexpr std::uint64_t Ones = 0x0101010101010101ull;
  constexpr std::uint64_t Highs = 0x8080808080808080ull;
  std::uint64_t hash = 0x9E3779B97F4A7C15ull ^ name.size();
  std::size_t pos = 0;
  while (pos < name.size()) {
    std::uint64_t word = 0;
    const std::size_t take = std::min<std::size_t>(8, name.size() - pos);
    std::memcpy(&word, name.data() + pos, take);
    pos += take;
    // A byte is 'A'..'Z' when adding 0x80-'A' sets its top bit and adding
    // 0x80-'Z'-1 does not; bytes from 0x80 up are left alone.
    const std::uint64_t low = word & ~Highs;
    const std::uint64_t upper =
        ((low + Ones * (0x80 - 'A')) & ~(low + Ones * (0x80 - 'Z' - 1)) & ~word) & Highs;
    word |= upper >> 2;
    hash = (hash ^ word) * 0xFF51AFD7ED558CCDull;
    hash ^= hash >> 32;
  }
  return hash;
}

}  // namespace

std::u32string FoldName(std::string_view name) {
  std::u32string folded = DecodeUtf8(name);
  const TLetterCase& letterCase = LetterCase();
  for (char32_t& c : folded) c = letterCase.Lower(c);
  return folded;
}

bool SameFoldedName(std::string_view a, std::string_view b) {
  if (IsAscii(a) && IsAscii(b)) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
      if (a[i] != b[i] && FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    }
    return true;
  }
  return FoldName(a) == FoldName(b);
}

std::uint64_t FoldedNameHash(std::string_view name) {
  if (IsAscii(name)) return AsciiNameHash(name);
  // A name that folds to ASCII letters (the Kelvin sign is a "k") must hash
  // as that ASCII name does.
  const std::u32string folded = FoldName(name);
  std::string bytes;
  bytes.reserve(folded.size() * 4);
  for (const char32_t c : folded) {
    if (c < 0x80) {
      bytes.push_back(static_cast<char>(c));
    } else {
      // Any fixed form that no ASCII name has: seven bits in each of four
      // bytes with the top bit set.
      for (int shift = 21; shift >= 0; shift -= 7) {
        bytes.push_back(static_cast<char>(0x80 | ((c >> shift) & 0x7F)));
      }
    }
  }
  return AsciiNameHash(bytes);
}
