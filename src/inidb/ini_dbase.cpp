#include "inidb/ini_dbase.h"

#include <algorithm>

#include "inidb/component_stream.h"

namespace {

constexpr std::size_t MaxIndexedFieldLength = 21;
// An index field must fit the key buffer's 31 characters per key.
constexpr std::uint16_t MaxIndexLength = 31;

std::string UpperAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

bool IsIndexCandidate(const TDBFieldInfo& field) {
  return field.IsString && field.MaxLen <= MaxIndexLength;
}

// What a closed database must release whatever happens while opening.
struct TOpenGuard {
  PIniDatabase& Database;
  std::vector<char>& CurRec;
  bool Done = false;
  ~TOpenGuard() {
    if (Done) return;
    CurRec.clear();
    if (Database) iDoneIniDatabase(Database);
  }
};

}  // namespace

TCustomIniDBase::TCustomIniDBase() : FFileName(DefaultFileName), FIndexedField(DefaultFieldName) {
  AppendField(TDBFieldInfo(DefaultFieldName, DefaultFieldLength));
}

TCustomIniDBase::~TCustomIniDBase() {
  CloseDatabase();
  ClearFieldList();
}

void TCustomIniDBase::AppendField(const TDBFieldInfo& field) {
  OwnedFields.push_back(std::make_unique<TDBFieldInfo>(field));
  FFieldList.push_back(OwnedFields.back().get());
}

void TCustomIniDBase::ClearFieldList() {
  FFieldList.clear();
  OwnedFields.clear();
}

void TCustomIniDBase::SetFileName(const std::string& value) {
  std::string name = value;
  while (!name.empty() && static_cast<unsigned char>(name.back()) <= ' ') name.pop_back();
  if (name.empty()) return;
  // A name beyond the limit is kept whole: opening refuses it, as a cut
  // name would be another file.
  FFileName = name;
  if (IsLoading()) return;
  if (FOpen) SetOpen(true);
}

void TCustomIniDBase::SetFieldList(const TDBFieldList& list) {
  if (IsLoading()) return;
  if (std::none_of(list.begin(), list.end(),
                   [](const TDBFieldInfo* f) { return f && IsIndexCandidate(*f); })) {
    RaiseCodedException(dberr::BadFieldList);
  }
  const bool wasOpen = FOpen;
  SetOpen(false);
  // Copy before clearing: `list` may be our own list.
  std::vector<TDBFieldInfo> copies;
  for (const TDBFieldInfo* field : list) {
    if (field) copies.push_back(*field);
  }
  ClearFieldList();
  for (const TDBFieldInfo& field : copies) AppendField(field);
  DefaultIndexed();
  if (wasOpen) SetOpen(true);
}

void TCustomIniDBase::DefaultIndexed() {
  const auto first = std::find_if(FFieldList.begin(), FFieldList.end(),
                                  [](const TDBFieldInfo* f) { return f->IsString; });
  if (first != FFieldList.end()) SetIndexedField((*first)->FieldName);
}

void TCustomIniDBase::SetIndexedField(const std::string& name) {
  const std::string stored = name.substr(0, std::min(name.size(), MaxIndexedFieldLength));
  if (IsLoading()) {
    FIndexedField = stored;
    return;
  }
  const std::string wanted = UpperAscii(name);
  const bool found = std::any_of(FFieldList.begin(), FFieldList.end(), [&](const TDBFieldInfo* f) {
    return IsIndexCandidate(*f) && UpperAscii(f->FieldName) == wanted;
  });
  if (!found) RaiseCodedException(dberr::BadFieldForIndex);
  FIndexedField = stored;
  if (FOpen) SetOpen(true);
}

void TCustomIniDBase::SetSortedIndex(bool value) {
  if (value == FSortedIndex) return;
  FSortedIndex = value;
  RecordList.SetSorted(value);
  FNeedRefresh = true;
}

void TCustomIniDBase::CloseDatabase() {
  CurRec.clear();
  if (Database) iDoneIniDatabase(Database);
  FOpen = false;
}

void TCustomIniDBase::SetOpen(bool value) {
  if (IsLoading()) return;
  if (!value) {
    CloseDatabase();
    return;
  }
  if (FOpen) CloseDatabase();
  if (FFileName.size() > MaxFileNameLength) {
    throw EIniWrite(dberr::IniWrite, "Database file name longer than " +
                                         std::to_string(MaxFileNameLength) + " bytes: " + FFileName);
  }
  TOpenGuard guard{Database, CurRec};
  CheckException(this, iInitIniDatabase(Database, FFileName));
  const std::string indexName = UpperAscii(FIndexedField);
  for (const TDBFieldInfo* field : FFieldList) {
    if (field->IsString) {
      const bool isIndex = UpperAscii(field->FieldName) == indexName;
      CheckException(this, iAddIniDBStringField(*Database, field->FieldName, field->MaxLen, isIndex));
    } else {
      CheckException(this, iAddIniDBIntField(*Database, field->FieldName));
    }
  }
  CheckException(this, iPrepareIniDatabase(*Database));
  CurRec.assign(Database->RecordSize, '\0');
  guard.Done = true;
  FNeedRefresh = true;
  FOpen = true;
}

void TCustomIniDBase::AssureOpen() {
  if (!FOpen) SetOpen(true);
}

void TCustomIniDBase::FollowFile() {
  // Another program may have changed the file: count and key list are taken anew.
  if (CheckException(this, iSyncIniDatabase(*Database)) > 0) FNeedRefresh = true;
}

int TCustomIniDBase::GetNumRecs() {
  AssureOpen();
  FollowFile();
  // A count is not a result code: a hand-edited negative count is reported
  // as it stands instead of being raised as some unrelated error.
  return iNumIniRecs(*Database);
}

const TStringList& TCustomIniDBase::GetRecordList() {
  AssureOpen();
  FollowFile();
  if (FNeedRefresh) RebuildRecordList();
  return RecordList;
}

void TCustomIniDBase::RebuildRecordList() {
  RecordList.Clear();
  if (iNumIniRecs(*Database) > 0) {
    std::vector<char> buffer;
    int size = 0;
    CheckException(this, iAllocIniIndexRec(*Database, buffer, size));
    CheckException(this, iLoadIniIndex(*Database, buffer, size));
    // Keys follow each other, each ending in a zero byte; an empty one ends
    // the list.
    std::vector<std::string> keys;
    std::size_t pos = 0;
    while (pos < buffer.size() && buffer[pos] != '\0') {
      const char* key = buffer.data() + pos;
      const std::size_t length = static_cast<std::size_t>(
          std::find(key, static_cast<const char*>(buffer.data() + buffer.size()), '\0') - key);
      keys.emplace_back(key, length);
      pos += length + 1;
    }
    iDeallocIniIndexRec(*Database, buffer, size);
    RecordList.Assign(keys);
  }
  FNeedRefresh = false;
}

bool TCustomIniDBase::KeyExists(const TDBKeyStr& key) {
  AssureOpen();
  return iKeyExists(*Database, key.str()) != 0;
}

void TCustomIniDBase::CheckRecordRoom(std::size_t size) const {
  if (size < RecSize(FFieldList)) RaiseCodedException(dberr::DataTooLarge);
}

void TCustomIniDBase::AddRecordData(std::span<const char> record) {
  AssureOpen();
  CheckRecordRoom(record.size());
  StrsToPChars(FFieldList, record, CurRec);
  CheckException(this, iAddIniRecord(*Database, CurRec));
  FNeedRefresh = true;
}

void TCustomIniDBase::AddRecordsData(std::span<const std::span<const char>> records) {
  AssureOpen();
  std::vector<std::vector<char>> internal(records.size(), std::vector<char>(CurRec.size()));
  std::vector<std::span<const char>> spans;
  spans.reserve(records.size());
  for (std::size_t i = 0; i < records.size(); ++i) {
    CheckRecordRoom(records[i].size());
    StrsToPChars(FFieldList, records[i], internal[i]);
    spans.emplace_back(internal[i]);
  }
  CheckException(this, iAddIniRecords(*Database, spans));
  FNeedRefresh = true;
}

void TCustomIniDBase::UpdRecordData(const TDBKeyStr& key, std::span<const char> record) {
  AssureOpen();
  CheckRecordRoom(record.size());
  StrsToPChars(FFieldList, record, CurRec);
  CheckException(this, iUpdIniRecord(*Database, key.str(), CurRec));
  FNeedRefresh = true;
}

void TCustomIniDBase::DelRecord(const TDBKeyStr& key) {
  AssureOpen();
  CheckException(this, iDelIniRecord(*Database, key.str()));
  FNeedRefresh = true;
}

void TCustomIniDBase::GetRecordData(const TDBKeyStr& key, std::span<char> record) {
  AssureOpen();
  CheckRecordRoom(record.size());
  CheckException(this, iGetIniRecord(*Database, key.str(), CurRec));
  PCharsToStrs(FFieldList, CurRec, record);
}

void TCustomIniDBase::ReadFields(TReader& reader) {
  ClearFieldList();
  reader.ReadListBegin();
  while (!reader.EndOfList()) {
    const auto maxLen = static_cast<std::uint16_t>(reader.ReadInteger());
    const bool isString = reader.ReadBoolean();
    std::string name = reader.ReadString();
    if (isString) {
      AppendField(TDBFieldInfo(std::move(name), maxLen));
    } else {
      AppendField(TDBFieldInfo(std::move(name)));
    }
  }
  reader.ReadListEnd();
}

void TCustomIniDBase::WriteFields(TWriter& writer) {
  writer.WriteListBegin();
  for (const TDBFieldInfo* field : FFieldList) {
    writer.WriteInteger(field->IsString ? field->MaxLen : TDBFieldInfo::IntegerSize);
    writer.WriteBoolean(field->IsString);
    writer.WriteString(field->FieldName);
  }
  writer.WriteListEnd();
}

bool TCustomIniDBase::ReadPublishedProperty(const std::string& name, TReader& reader) {
  if (name == "FileName") {
    SetFileName(reader.ReadString());
  } else if (name == "IndexedField") {
    SetIndexedField(reader.ReadString());
  } else if (name == "SortedIndex") {
    SetSortedIndex(reader.ReadBoolean());
  } else {
    return false;
  }
  return true;
}

void TCustomIniDBase::WritePublishedProperties(TWriter& writer) const {
  writer.WritePropertyName("FileName");
  writer.WriteString(FFileName);
  writer.WritePropertyName("IndexedField");
  writer.WriteString(FIndexedField);
  writer.WritePropertyName("SortedIndex");
  writer.WriteBoolean(FSortedIndex);
}

TIniDBSnapshot::TIniDBSnapshot(const TCustomIniDBase& db) : Snapshot(db.FileName()) {}

TIniDBase::TIniDBase() = default;

TIniDBase::~TIniDBase() = default;

void TIniDBase::DefineProperties(TFiler& filer) {
  TCustomIniDBase::DefineProperties(filer);
  // Always stored, also when the list is empty.
  filer.DefineProperty(
      FieldListProperty, [this](TReader& reader) { ReadFields(reader); },
      [this](TWriter& writer) { WriteFields(writer); }, true);
}
