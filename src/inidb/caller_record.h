#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "translatable.h"

// Text handed to the database is UTF-8 held in std::string. Every length
// limit counts bytes and a cut never leaves half a character behind.

// Returns the longest prefix of `text` that fits in `maxBytes` bytes without
// splitting a UTF-8 character. Bytes that are not valid UTF-8 count as whole
// characters of one byte each.
std::string CutText(std::string_view text, std::size_t maxBytes);

// A short string as the caller record holds it: one length byte, then room
// for `N` characters. Bytes past `Length` are ignored.
template <std::size_t N>
struct TShortString {
  static_assert(N >= 1 && N <= 255, "the length byte holds at most 255");
  std::uint8_t Length = 0;
  char Chars[N] = {};

  // Stores `text` cut to N bytes (never splitting a character); the rest of
  // the room is zero-filled so records compare and copy predictably.
  void Set(std::string_view text) {
    const std::string cut = CutText(text, N);
    Length = static_cast<std::uint8_t>(cut.size());
    for (std::size_t i = 0; i < N; ++i) Chars[i] = i < cut.size() ? cut[i] : '\0';
  }

  // The text, never more than N bytes even when the length byte says more.
  std::string Get() const {
    return std::string(Chars, Length < N ? Length : N);
  }
};

// The record this program keeps per caller: the name (the key) and the
// number as displayed, each a length byte and 20 characters.
struct TCallerRecord {
  static constexpr std::size_t FieldLength = 20;
  TShortString<FieldLength> CallerName;
  TShortString<FieldLength> CallerID;
};

static_assert(sizeof(TCallerRecord) == 42, "the caller record is 42 bytes");
static_assert(alignof(TCallerRecord) == 1, "the caller record has no padding");

// Builds a caller record from UTF-8 texts, each cut to 20 bytes.
TCallerRecord MakeCallerRecord(std::string_view name, std::string_view number);

// "Default" names the picture every unknown caller is shown with
// ("Default.BMP"), so it is no caller's name, in any letter case.
bool IsReservedCallerName(std::string_view name);

// The answer to a name that cannot be a caller's.
inline constexpr char InvalidCallerNameText[] = TRANSLATABLE_TEXT("TIniDBase", "Invalid Caller Name");
