#pragma once

#include <chrono>
#include <functional>
#include <locale>
#include <string>
#include <string_view>

// Placeholders in forwarding texts: @CID (number), @CIN (name), @DATE, @TIME
// and @PORT (the monitored line's name).

inline constexpr char kPlaceholderMark = '@';
// At most this many bytes of a segment follow the value that replaced its key.
inline constexpr int kMaxTextAfterKey = 255;

enum class TPlaceholder { Number, Name, Date, Time, LineName };

struct TPlaceholderKey {
  TPlaceholder Which;
  std::string_view Key;          // written directly after "@", case-sensitive
  std::string_view Environment;  // the variable that holds the value for a script
};

inline constexpr TPlaceholderKey kPlaceholderKeys[] = {
    {TPlaceholder::Number, "CID", "QUORVEL_CID"},
    {TPlaceholder::Name, "CIN", "QUORVEL_CIN"},
    {TPlaceholder::Date, "DATE", "QUORVEL_DATE"},
    {TPlaceholder::Time, "TIME", "QUORVEL_TIME"},
    {TPlaceholder::LineName, "PORT", "QUORVEL_PORT"},
};

// The placeholder whose key `text` begins with, or nullptr.
const TPlaceholderKey* KeyAtStart(std::string_view text);

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

// The values of one call, each read once: what a script sees, both in its
// text and in its environment.
struct TPlaceholderValues {
  std::string Number;
  std::string Name;
  std::string Date;
  std::string Time;
  std::string LineName;

  const std::string& Of(TPlaceholder which) const;
};

TPlaceholderValues ReadPlaceholderValues(const std::string& number, const std::string& name,
                                         const TPlaceholderSources& sources);

// Expands the placeholders of `templateText` in one pass: every "@" opens a
// segment running to the next "@"; a segment beginning with a key (matched
// case-sensitively) becomes the key's value followed by at most 255 bytes of
// the rest of the segment, any other segment is dropped. The result loses
// blanks and control characters at both ends. A text without "@" comes back
// unchanged.
std::string SubstitutePlaceholders(std::string_view templateText, const std::string& number,
                                   const std::string& name, const TPlaceholderSources& sources);

// Expands the placeholders of a shell script so that the shell takes each
// value as data, whatever it holds. A placeholder becomes a reference to its
// QUORVEL_* variable (which the script's environment must carry), quoted for
// the place where it stands: "${V}" in code, ${V} inside double quotes and
// here-documents, '"${V}"' inside single quotes. In the body of a
// here-document whose end word is quoted nothing is expanded, so the value
// itself is written there, without control characters; should it make a line
// read as the end word, a blank is added to that line. An "@" that starts no
// key, or that follows an expanding "$" ("$@"), is written unchanged, and
// nothing is cut. A text with an "@" loses blanks and control characters at
// both ends first; a text without one comes back unchanged.
std::string SubstituteScriptPlaceholders(std::string_view templateText,
                                         const TPlaceholderValues& values);
