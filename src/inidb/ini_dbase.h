#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <type_traits>
#include <vector>

#include "inidb/base_component.h"
#include "inidb/caller_record.h"
#include "inidb/db_errors.h"
#include "inidb/db_key.h"
#include "inidb/field_list.h"
#include "inidb/ini_store.h"
#include "inidb/profile_file.h"
#include "inidb/string_list.h"

// The name of the index field (at most 21 characters).
using TDBIndexedField = std::string;

// The keyed record database as the program sees it: records shaped by the
// field list, kept in one INI file by the record store, keyed by the index
// field. Every failure is thrown as the coded exception of its result code
// (db_errors.h). The file is opened on first use and created when missing.
// Records are read from the file at every operation; the count and the key
// list are kept, and taken anew when another program changes the file.
class TCustomIniDBase : public TBaseComponent {
 public:
  static constexpr char DefaultFileName[] = "DATABASE.INI";
  static constexpr char DefaultFieldName[] = "Default";
  static constexpr std::uint16_t DefaultFieldLength = 20;
  static constexpr std::size_t MaxFileNameLength = 255;

  TCustomIniDBase();
  ~TCustomIniDBase() override;

  // Properties.
  const std::string& FileName() const { return FFileName; }
  // Trailing blanks and control characters are dropped; a name that is
  // then empty changes nothing. An open database is reopened on the new file.
  // A name longer than MaxFileNameLength bytes is kept, and opening fails.
  void SetFileName(const std::string& value);

  const TDBFieldList& FieldList() const { return FFieldList; }
  // Takes copies of the descriptors; the first string field becomes the
  // index field. Needs a string field shorter than 32 (-7013).
  void SetFieldList(const TDBFieldList& list);

  const TDBIndexedField& IndexedField() const { return FIndexedField; }
  // Names the index field: a string field with MaxLen below 32 (-7014).
  void SetIndexedField(const std::string& name);

  bool SortedIndex() const { return FSortedIndex; }
  void SetSortedIndex(bool value);

  bool Open() const { return FOpen; }
  void SetOpen(bool value);
  // True when the key list is rebuilt at the next GetRecordList.
  bool NeedRefresh() const { return FNeedRefresh; }

  // Operations. Each opens the database first if need be.
  void AssureOpen();
  int GetNumRecs();
  // The keys; the same object stays valid until the next rebuild.
  const TStringList& GetRecordList();
  bool KeyExists(const TDBKeyStr& key);
  void DelRecord(const TDBKeyStr& key);

  // Records in the caller layout (length-prefixed strings). The record
  // must hold the field list's record size (else -7002, nothing read).
  void AddRecordData(std::span<const char> record);
  void UpdRecordData(const TDBKeyStr& key, std::span<const char> record);
  void GetRecordData(const TDBKeyStr& key, std::span<char> record);

  template <class TRecord>
  void AddRecord(const TRecord& record) {
    AddRecordData(AsBytes(record));
  }
  // Adds the records as one change of the file: all of them, or none when
  // one of them cannot be added (thrown as for AddRecord).
  void AddRecordsData(std::span<const std::span<const char>> records);
  template <class TRecord>
  void AddRecords(std::span<const TRecord> records) {
    std::vector<std::span<const char>> bytes;
    bytes.reserve(records.size());
    for (const TRecord& record : records) bytes.push_back(AsBytes(record));
    AddRecordsData(bytes);
  }
  template <class TRecord>
  void UpdRecord(const TDBKeyStr& key, const TRecord& record) {
    UpdRecordData(key, AsBytes(record));
  }
  // On failure `record` is left untouched.
  template <class TRecord>
  void GetRecord(const TDBKeyStr& key, TRecord& record) {
    static_assert(std::is_trivially_copyable_v<TRecord>);
    GetRecordData(key, std::span<char>(reinterpret_cast<char*>(&record), sizeof record));
  }

  // The persisted field list ("FakeProperty"): items of MaxLen, IsString
  // and FieldName. Reading replaces the whole list.
  void ReadFields(TReader& reader);
  void WriteFields(TWriter& writer);

  bool ReadPublishedProperty(const std::string& name, TReader& reader) override;
  void WritePublishedProperties(TWriter& writer) const override;

 protected:
  // Frees the own descriptors and empties the list.
  void ClearFieldList();
  // Makes the first string field the index field.
  void DefaultIndexed();

 private:
  template <class TRecord>
  static std::span<const char> AsBytes(const TRecord& record) {
    static_assert(std::is_trivially_copyable_v<TRecord>);
    return std::span<const char>(reinterpret_cast<const char*>(&record), sizeof record);
  }
  void AppendField(const TDBFieldInfo& field);
  void CloseDatabase();
  void FollowFile();
  void RebuildRecordList();
  void CheckRecordRoom(std::size_t size) const;

  std::string FFileName;
  TDBFieldList FFieldList;
  std::vector<std::unique_ptr<TDBFieldInfo>> OwnedFields;
  TDBIndexedField FIndexedField;
  bool FSortedIndex = false;

  PIniDatabase Database;
  std::vector<char> CurRec;
  TStringList RecordList;
  bool FNeedRefresh = true;
  bool FOpen = false;
};

// Holds one view of the database's file for a run of operations, such as a
// call's lookup over every record: the file is checked, and parsed if it
// changed, once for the whole run instead of at every operation. The run
// sees its own changes; other programs' changes are seen after it.
class TIniDBSnapshot {
 public:
  explicit TIniDBSnapshot(const TCustomIniDBase& db);

 private:
  TProfileSnapshot Snapshot;
};

// The component the program places: declares the stored field list.
class TIniDBase : public TCustomIniDBase {
 public:
  static constexpr char FieldListProperty[] = "FakeProperty";

  TIniDBase();
  ~TIniDBase() override;
  void DefineProperties(TFiler& filer) override;
};
