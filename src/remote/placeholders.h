#pragma once

#include <chrono>
#include <functional>
#include <locale>
#include <string>
#include <string_view>

// Placeholders in forwarding texts: @CID (number), @CIN (name), @DATE, @TIME
// and @PORT (the monitored line's name).

inline constexpr char kPlaceholderMark = '@';
inline constexpr char kKeyNumber[] = "CID";
inline constexpr char kKeyName[] = "CIN";
inline constexpr char kKeyDate[] = "DATE";
inline constexpr char kKeyTime[] = "TIME";
inline constexpr char kKeyLineName[] = "PORT";
// At most this many bytes of a segment follow the value that replaced its key.
inline constexpr int kMaxTextAfterKey = 255;

using TClock = std::function<std::chrono::system_clock::time_point()>;

// What an expansion reads itself, anew for every placeholder that needs it.
struct TPlaceholderSources {
  TClock Clock = [] { return std::chrono::system_clock::now(); };
  std::function<std::string()> LineName = [] { return std::string(); };
  std::locale TimeLocale = UserTimeLocale();

  // The user's LC_TIME conventions; the classic "C" ones when the
  // environment names a locale that is not installed.
  static std::locale UserTimeLocale();
};

// The local date in the locale's short form (%x).
std::string FormatShortDate(std::chrono::system_clock::time_point when, const std::locale& locale);

// The local time with seconds in the locale's long form (%X).
std::string FormatLongTime(std::chrono::system_clock::time_point when, const std::locale& locale);

// Expands the placeholders of `templateText` in one pass: every "@" opens a
// segment running to the next "@"; a segment beginning with a key (matched
// case-sensitively) becomes the key's value followed by at most 255 bytes of
// the rest of the segment, any other segment is dropped. The result loses
// blanks and control characters at both ends. A text without "@" comes back
// unchanged.
std::string SubstitutePlaceholders(std::string_view templateText, const std::string& number,
                                   const std::string& name, const TPlaceholderSources& sources);
