#include "inidb/field_list.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <utility>

namespace {

// The caller record keeps a string's length in one byte.
constexpr std::size_t MaxShortStringLength = 255;

void CheckRecordSpans(const TDBFieldList& fields, std::size_t from, std::size_t to) {
  const std::size_t size = RecSize(fields);
  if (from < size || to < size) {
    throw std::length_error("record smaller than its field list");
  }
}

}  // namespace

TDBFieldInfo::TDBFieldInfo(std::string name, std::uint16_t len)
    : MaxLen(len), IsString(true), FieldName(std::move(name)) {}

TDBFieldInfo::TDBFieldInfo(std::string name)
    : MaxLen(IntegerSize), IsString(false), FieldName(std::move(name)) {}

std::size_t FieldSize(const TDBFieldInfo& field) {
  return field.IsString ? std::size_t(field.MaxLen) + 1 : TDBFieldInfo::IntegerSize;
}

std::size_t RecSize(const TDBFieldList& fields) {
  std::size_t size = 0;
  for (const TDBFieldInfo* field : fields) size += FieldSize(*field);
  return size;
}

void StrsToPChars(const TDBFieldList& fields, std::span<const char> strs, std::span<char> pchars) {
  CheckRecordSpans(fields, strs.size(), pchars.size());
  std::size_t pos = 0;
  for (const TDBFieldInfo* field : fields) {
    if (field->IsString) {
      const std::size_t length =
          std::min<std::size_t>(static_cast<unsigned char>(strs[pos]), field->MaxLen);
      std::memmove(&pchars[pos], &strs[pos + 1], length);
      pchars[pos + length] = '\0';
    } else {
      std::memcpy(&pchars[pos], &strs[pos], TDBFieldInfo::IntegerSize);
    }
    pos += FieldSize(*field);
  }
}

void PCharsToStrs(const TDBFieldList& fields, std::span<const char> pchars, std::span<char> strs) {
  CheckRecordSpans(fields, pchars.size(), strs.size());
  std::size_t pos = 0;
  for (const TDBFieldInfo* field : fields) {
    if (field->IsString) {
      // The text may lack its zero byte; it never reaches past the field.
      const std::size_t room = std::min<std::size_t>(field->MaxLen, MaxShortStringLength);
      const char* text = &pchars[pos];
      const std::size_t length = static_cast<std::size_t>(
          std::find(text, text + room, '\0') - text);
      std::memmove(&strs[pos + 1], text, length);
      strs[pos] = static_cast<char>(length);
    } else {
      std::memcpy(&strs[pos], &pchars[pos], TDBFieldInfo::IntegerSize);
    }
    pos += FieldSize(*field);
  }
}
