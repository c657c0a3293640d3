#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The record store: records kept in an INI file, one section per record,
// an "Index" section listing the keys and a "Defaults" section holding the
// record count ("_Entries") and optional per-field defaults. Records cross
// this layer as internal records (zero-terminated texts and 4-byte integers
// at the field offsets). Every function returns 0, a count or a flag on
// success and a negative code (db_errors.h) on failure; none throws.

inline constexpr std::size_t MaxIniRecordSize = 65520;
inline constexpr std::size_t MaxIniIndexFieldSize = 32;
inline constexpr std::size_t MaxIniFieldNameLength = 21;
inline constexpr std::int32_t MaxIniRecords = 999;
// Room per counted record in the key buffer.
inline constexpr std::int32_t IniKeyRoom = 31;

inline constexpr char IniIndexSection[] = "Index";
inline constexpr char IniDefaultsSection[] = "Defaults";
inline constexpr char IniEntriesKey[] = "_Entries";
// The value of a key in "Index" that marks the record present.
inline constexpr char IniPresentMark[] = "#";

// One node of the field chain.
struct TIniDBField {
  std::string FieldName;
  std::uint32_t FieldSize = 0;
  bool IsString = false;
  bool IsIndex = false;
  std::unique_ptr<TIniDBField> Next;
};

// The store's handle for one file.
struct TIniDatabase {
  std::string IniFileName;
  std::unique_ptr<TIniDBField> FirstField;
  TIniDBField* LastField = nullptr;
  std::int32_t NumRecords = 0;
  std::uint32_t RecordSize = 0;
  std::vector<char> DefaultRec;
  bool Prepared = false;
  // The state of the file NumRecords and DefaultRec were read from.
  std::uint64_t FileVersion = 0;
};

using PIniDatabase = std::unique_ptr<TIniDatabase>;

// A handle with a copy of the name and nothing else. Cannot fail.
int iInitIniDatabase(PIniDatabase& handle, std::string_view fileName);
int iAddIniDBStringField(TIniDatabase& db, std::string_view name, int maxLen, bool isIndex);
int iAddIniDBIntField(TIniDatabase& db, std::string_view name);
int iAddIniDBField(TIniDatabase& db, std::string_view name, bool isString, std::size_t size,
                   bool isIndex);
// Reads count and defaults of an existing file; creates a missing one.
int iPrepareIniDatabase(TIniDatabase& db);
// True (1) when "Index" marks `key` present; 0 otherwise, also unprepared.
int iKeyExists(TIniDatabase& db, std::string_view key);
// Reads count and defaults again when another program changed the file
// since they were read: 1 when it did, 0 when the file is as it was.
int iSyncIniDatabase(TIniDatabase& db);

// What a record may hold: keys and string values that come back from the
// file exactly as written. Adds and updates refuse anything else (-7004)
// before writing.
bool IsStorableIniKey(std::string_view key);
bool IsStorableIniText(std::string_view text);

// Records are internal records of at least RecordSize bytes (else -7002).
int iAddIniRecord(TIniDatabase& db, std::span<const char> record);
// Adds the records in order as one change of the file: all of them, or none
// when one cannot be added, whose code is then returned.
int iAddIniRecords(TIniDatabase& db, std::span<const std::span<const char>> records);
int iUpdIniRecord(TIniDatabase& db, std::string_view key, std::span<const char> record);
int iDelIniRecord(TIniDatabase& db, std::string_view key);
int iGetIniRecord(TIniDatabase& db, std::string_view key, std::span<char> record);

int iNumIniRecs(const TIniDatabase& db);
// Room of the key buffer: 31 bytes per counted record plus one.
int iGetIniIndexRecSize(const TIniDatabase& db);
int iAllocIniIndexRec(TIniDatabase& db, std::vector<char>& buffer, int& size);
// Fills the buffer with the keys of "Index". A key the buffer's end cut
// short is left out.
int iLoadIniIndex(TIniDatabase& db, std::vector<char>& buffer, int size);
int iDeallocIniIndexRec(TIniDatabase& db, std::vector<char>& buffer, int size);
// Frees the handle and everything it holds.
int iDoneIniDatabase(PIniDatabase& handle);

// The index field (first node marked index), or null.
const TIniDBField* FindIndexField(const TIniDatabase& db);
// Offset of the index field's text inside an internal record.
std::size_t IndexValue(const TIniDatabase& db);
