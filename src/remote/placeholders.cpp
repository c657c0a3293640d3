#include "remote/placeholders.h"

#include <ctime>
#include <iomanip>
#include <sstream>
#include <stdexcept>

#include "remote/shell_scanner.h"
#include "remote/text_routines.h"

std::locale TPlaceholderSources::UserTimeLocale() {
  try {
    return std::locale(std::locale::classic(), "", std::locale::time);
  } catch (const std::runtime_error&) {
    return std::locale::classic();
  }
}

namespace {

std::string FormatLocal(std::chrono::system_clock::time_point when, const std::locale& locale,
                        const char* format) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
  // One thread only, so the shared buffer of localtime is safe to copy.
  const std::tm* shared = std::localtime(&seconds);
  if (shared == nullptr) return {};
  const std::tm local = *shared;
  std::ostringstream out;
  out.imbue(locale);
  out << std::put_time(&local, format);
  return out.str();
}

std::string ReadValue(TPlaceholder which, const std::string& number, const std::string& name,
                      const TPlaceholderSources& sources) {
  switch (which) {
    case TPlaceholder::Number: return number;
    case TPlaceholder::Name: return name;
    case TPlaceholder::Date: return FormatShortDate(sources.Clock(), sources.TimeLocale);
    case TPlaceholder::Time: return FormatLongTime(sources.Clock(), sources.TimeLocale);
    case TPlaceholder::LineName: return sources.LineName();
  }
  return {};
}

bool IsLineBreak(char c) { return c == '\n' || c == '\r'; }

// What stands in a script for the placeholder `key`, at the scanner's place.
std::string ScriptReference(const TPlaceholderKey& key, const TPlaceholderValues& values,
                            const TShellScanner& scanner) {
  const std::string variable = "${" + std::string(key.Environment) + "}";
  std::string reference;
  switch (scanner.Place()) {
    case TShellPlace::Code: reference = '"' + variable + '"'; break;
    case TShellPlace::DoubleQuoted:
    case TShellPlace::Comment: reference = variable; break;
    case TShellPlace::SingleQuoted: reference = "'\"" + variable + "\"'"; break;
    case TShellPlace::LiteralHereDoc: return WithoutControlCharacters(values.Of(key.Which));
  }
  // A backslash just before would quote the reference's first byte; with a
  // line break after it, it continues the line instead and quotes nothing.
  if (scanner.EscapePending()) reference.insert(0, 1, '\n');
  return reference;
}

}  // namespace

const TPlaceholderKey* KeyAtStart(std::string_view text) {
  for (const TPlaceholderKey& key : kPlaceholderKeys) {
    if (text.substr(0, key.Key.size()) == key.Key) return &key;
  }
  return nullptr;
}

const std::string& TPlaceholderValues::Of(TPlaceholder which) const {
  switch (which) {
    case TPlaceholder::Number: return Number;
    case TPlaceholder::Name: return Name;
    case TPlaceholder::Date: return Date;
    case TPlaceholder::Time: return Time;
    case TPlaceholder::LineName: break;
  }
  return LineName;
}

TPlaceholderValues ReadPlaceholderValues(const std::string& number, const std::string& name,
                                         const TPlaceholderSources& sources) {
  const auto now = sources.Clock();
  return {number, name, FormatShortDate(now, sources.TimeLocale),
          FormatLongTime(now, sources.TimeLocale), sources.LineName()};
}

std::string FormatShortDate(std::chrono::system_clock::time_point when, const std::locale& locale) {
  return FormatLocal(when, locale, "%x");
}

std::string FormatLongTime(std::chrono::system_clock::time_point when, const std::locale& locale) {
  return FormatLocal(when, locale, "%X");
}

std::string SubstitutePlaceholders(std::string_view templateText, const std::string& number,
                                   const std::string& name, const TPlaceholderSources& sources) {
  std::size_t mark = templateText.find(kPlaceholderMark);
  if (mark == std::string_view::npos) return std::string(templateText);

  std::string result(templateText.substr(0, mark));
  while (mark != std::string_view::npos) {
    const std::size_t next = templateText.find(kPlaceholderMark, mark + 1);
    const std::string_view segment =
        next == std::string_view::npos ? templateText.substr(mark + 1)
                                       : templateText.substr(mark + 1, next - mark - 1);
    if (const TPlaceholderKey* key = KeyAtStart(segment)) {
      result += ReadValue(key->Which, number, name, sources);
      result += LeftChars(segment.substr(key->Key.size()), kMaxTextAfterKey);
    }
    mark = next;
  }
  return TrimBlanksAndControls(result);
}

std::string SubstituteScriptPlaceholders(std::string_view templateText,
                                         const TPlaceholderValues& values) {
  if (templateText.find(kPlaceholderMark) == std::string_view::npos) {
    return std::string(templateText);
  }
  const std::string text = TrimBlanksAndControls(templateText);
  std::string result;
  result.reserve(text.size());
  TShellScanner scanner;
  auto emit = [&](std::string_view part) {
    result += part;
    scanner.Feed(part);
  };
  // A value written into a literal here-document must never end it early.
  bool valueOnLine = false;
  auto guardLineEnd = [&] {
    if (valueOnLine && scanner.Place() == TShellPlace::LiteralHereDoc &&
        scanner.LineWouldEndHereDoc()) {
      emit(" ");
    }
    valueOnLine = false;
  };

  for (std::size_t at = 0; at < text.size();) {
    const char c = text[at];
    if (c == kPlaceholderMark && !scanner.AfterDollar()) {
      if (const TPlaceholderKey* key = KeyAtStart(std::string_view(text).substr(at + 1))) {
        emit(ScriptReference(*key, values, scanner));
        valueOnLine = true;
        at += 1 + key->Key.size();
        continue;
      }
    }
    if (IsLineBreak(c)) guardLineEnd();
    emit(std::string_view(&text[at], 1));
    ++at;
  }
  guardLineEnd();
  return result;
}
