#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// One field of a database record. A string field holds at most MaxLen
// characters (1 to 255: the caller record keeps the length in one byte); an
// integer field is a 32-bit signed number and has MaxLen 4.
class TDBFieldInfo {
 public:
  static constexpr std::uint16_t IntegerSize = 4;

  // A string field of `len` characters.
  TDBFieldInfo(std::string name, std::uint16_t len);
  // An integer field.
  explicit TDBFieldInfo(std::string name);
  TDBFieldInfo(const TDBFieldInfo&) = default;
  TDBFieldInfo& operator=(const TDBFieldInfo&) = default;

  std::uint16_t MaxLen;
  bool IsString;
  std::string FieldName;
};

// The ordered fields of a record. The list does not own its descriptors:
// whoever fills it frees them. Its order is the order of the fields in both
// record layouts and in the file.
using TDBFieldList = std::vector<TDBFieldInfo*>;

// Bytes a field takes in either record layout: MaxLen + 1 for a string
// field, 4 for an integer field.
std::size_t FieldSize(const TDBFieldInfo& field);

// Sum of the field sizes; fields follow each other with no padding.
std::size_t RecSize(const TDBFieldList& fields);

// Caller record (length byte + characters) to internal record (zero-
// terminated text). A length byte above the field's MaxLen is cut to MaxLen.
// Both records must hold RecSize(fields) bytes; throws std::length_error
// otherwise, before writing anything.
void StrsToPChars(const TDBFieldList& fields, std::span<const char> strs, std::span<char> pchars);

// Internal record to caller record: the text up to the zero byte (never
// beyond the field, at most 255 characters) becomes length byte + text.
// Same size rule as StrsToPChars.
void PCharsToStrs(const TDBFieldList& fields, std::span<const char> pchars, std::span<char> strs);
