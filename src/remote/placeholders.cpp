#include "remote/placeholders.h"

#include <ctime>
#include <iomanip>
#include <sstream>
#include <stdexcept>

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

bool StartsWith(std::string_view text, std::string_view key) {
  return text.substr(0, key.size()) == key;
}

}  // namespace

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
    std::string_view key;
    if (StartsWith(segment, kKeyNumber)) {
      key = kKeyNumber;
      result += number;
    } else if (StartsWith(segment, kKeyName)) {
      key = kKeyName;
      result += name;
    } else if (StartsWith(segment, kKeyDate)) {
      key = kKeyDate;
      result += FormatShortDate(sources.Clock(), sources.TimeLocale);
    } else if (StartsWith(segment, kKeyTime)) {
      key = kKeyTime;
      result += FormatLongTime(sources.Clock(), sources.TimeLocale);
    } else if (StartsWith(segment, kKeyLineName)) {
      key = kKeyLineName;
      result += sources.LineName();
    }
    if (!key.empty()) result += LeftChars(segment.substr(key.size()), kMaxTextAfterKey);
    mark = next;
  }
  return TrimBlanksAndControls(result);
}
