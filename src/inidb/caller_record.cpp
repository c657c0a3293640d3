#include "inidb/caller_record.h"

#include "inidb/name_fold.h"
#include "inidb/utf8.h"

std::string CutText(std::string_view text, std::size_t maxBytes) {
  if (text.size() <= maxBytes) return std::string(text);
  std::size_t end = 0;
  while (end < text.size()) {
    const std::size_t step = Utf8SequenceLength(text, end);
    if (end + step > maxBytes) break;
    end += step;
  }
  return std::string(text.substr(0, end));
}

TCallerRecord MakeCallerRecord(std::string_view name, std::string_view number) {
  TCallerRecord record;
  record.CallerName.Set(name);
  record.CallerID.Set(number);
  return record;
}

bool IsReservedCallerName(std::string_view name) { return SameFoldedName(name, "Default"); }
