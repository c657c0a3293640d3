#include "inidb/ini_store.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>

#include "inidb/caller_record.h"
#include "inidb/db_errors.h"
#include "inidb/profile_document.h"
#include "inidb/profile_file.h"
#include "inidb/utf8.h"

namespace {

// Room for reading "Index"/key: enough to tell "#" from anything longer.
constexpr std::size_t PresentMarkRoom = 6;

int CommonChecks(const TIniDatabase& db) {
  if (!db.FirstField) return dberr::NoFields;
  if (!db.Prepared) return dberr::NotPrepared;
  return 0;
}

// The zero-terminated text in a field slot, never reaching past the slot.
std::string SlotText(const char* slot, std::size_t fieldSize) {
  const std::size_t room = fieldSize > 0 ? fieldSize - 1 : 0;
  return std::string(slot, static_cast<std::size_t>(std::find(slot, slot + room, '\0') - slot));
}

// Bytes of `text` that fit in `maxBytes` without splitting a character.
std::size_t CutLength(std::string_view text, std::size_t maxBytes) {
  if (text.size() <= maxBytes) return text.size();
  std::size_t end = 0;
  while (end < text.size()) {
    const std::size_t step = Utf8SequenceLength(text, end);
    if (end + step > maxBytes) break;
    end += step;
  }
  return end;
}

// Puts `text` (cut to the slot, never splitting a character) and its zero
// byte into a string field slot; the rest of the slot is zeroed.
void SetSlotText(char* slot, std::size_t fieldSize, std::string_view text) {
  const std::size_t length = CutLength(text, fieldSize - 1);
  if (length > 0) std::memcpy(slot, text.data(), length);
  std::memset(slot + length, 0, fieldSize - length);
}

std::int32_t SlotInteger(const char* slot) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(slot[i]);
  return static_cast<std::int32_t>(value);
}

void SetSlotInteger(char* slot, std::int32_t value) {
  auto bits = static_cast<std::uint32_t>(value);
  for (int i = 0; i < 4; ++i, bits >>= 8) slot[i] = static_cast<char>(bits & 0xFF);
}

template <class TSource>
bool KeyPresent(const TSource& source, std::string_view key) {
  char mark[PresentMarkRoom];
  source.ReadString(IniIndexSection, key, "", mark, sizeof mark);
  return std::string_view(mark) == IniPresentMark;
}

// A string field's value as the file holds it, cut to the field.
std::string_view ReadFieldText(const TProfileReader& source, std::string_view section,
                               const TIniDBField& field, std::string_view defaultText) {
  const std::string_view value = source.ReadView(section, field.FieldName, defaultText);
  return value.substr(0, CutLength(value, field.FieldSize - 1));
}

// A record whose key names one of the store's own sections has no section
// of its own: its fields would land among the count or the keys.
bool NamesStoreSection(std::string_view key) {
  return SameProfileName(key, IniIndexSection) || SameProfileName(key, IniDefaultsSection);
}

std::string IndexText(const TIniDatabase& db, std::span<const char> record) {
  const TIniDBField* index = FindIndexField(db);
  return SlotText(record.data() + IndexValue(db), index->FieldSize);
}

bool WriteIniValue(TProfileTransaction& tx, std::string_view section, std::string_view key,
                   std::string_view text) {
  if (text.empty()) {
    if (tx.ReadString(section, key, "", PresentMarkRoom) == IniPresentMark) return true;
    return tx.DeleteKey(section, key);
  }
  return tx.WriteString(section, key, text);
}

int WriteRecordFields(const TIniDatabase& db, TProfileTransaction& tx, std::string_view section,
                      std::span<const char> record) {
  std::size_t offset = 0;
  for (const TIniDBField* field = db.FirstField.get(); field; field = field->Next.get()) {
    const char* slot = record.data() + offset;
    offset += field->FieldSize;
    if (field->IsIndex) continue;
    const std::string text = field->IsString ? SlotText(slot, field->FieldSize)
                                             : std::to_string(SlotInteger(slot));
    if (field->IsString && !IsStorableIniText(text)) return dberr::IniWrite;
    if (!WriteIniValue(tx, section, field->FieldName, text)) return dberr::IniWrite;
  }
  return 0;
}

int WriteEntryCount(TProfileTransaction& tx, std::int32_t count) {
  return tx.WriteString(IniDefaultsSection, IniEntriesKey, std::to_string(count))
             ? 0
             : dberr::IniWrite;
}

// The count as the file says now: another program may have changed it
// since we opened, and its changes must not be lost.
std::int32_t CurrentCount(const TProfileTransaction& tx) {
  return tx.ReadInteger(IniDefaultsSection, IniEntriesKey, 0);
}

int AddRecordIn(const TIniDatabase& db, TProfileTransaction& tx, std::span<const char> record,
                std::int32_t& count) {
  if (count >= MaxIniRecords) return dberr::DatabaseFull;
  const std::string key = IndexText(db, record);
  if (KeyPresent(tx, key)) return dberr::RecordExists;
  if (!IsStorableIniKey(key)) return dberr::IniWrite;
  if (!tx.WriteString(IniIndexSection, key, IniPresentMark)) return dberr::IniWrite;
  if (const int rc = WriteRecordFields(db, tx, key, record); rc != 0) return rc;
  ++count;
  return WriteEntryCount(tx, count);
}

int DelRecordIn(TProfileTransaction& tx, std::string_view key, std::int32_t& count) {
  if (!KeyPresent(tx, key)) return dberr::RecordNotFound;
  if (!tx.DeleteKey(IniIndexSection, key)) return dberr::IniWrite;
  if (!NamesStoreSection(key) && !tx.DeleteSection(key)) return dberr::IniWrite;
  --count;
  return WriteEntryCount(tx, count);
}

// The count and each non-index field's default, as the file says.
void ReadCountAndDefaults(TIniDatabase& db, const TProfileReader& reader) {
  db.NumRecords = reader.ReadInteger(IniDefaultsSection, IniEntriesKey, 0);
  std::size_t offset = 0;
  for (const TIniDBField* field = db.FirstField.get(); field; field = field->Next.get()) {
    char* slot = db.DefaultRec.data() + offset;
    offset += field->FieldSize;
    if (field->IsIndex) continue;
    if (field->IsString) {
      SetSlotText(slot, field->FieldSize, ReadFieldText(reader, IniDefaultsSection, *field, ""));
    } else {
      SetSlotInteger(slot, reader.ReadInteger(IniDefaultsSection, field->FieldName, 0));
    }
  }
  db.FileVersion = reader.Version();
}

// Ends a change: on success writes it and adopts the new count; on failure
// nothing reaches the file.
int Finish(TIniDatabase& db, TProfileTransaction& tx, int rc, std::int32_t count) {
  if (rc < 0) return rc;
  if (!tx.Commit()) return dberr::IniWrite;
  db.NumRecords = count;
  return rc;
}

}  // namespace

const TIniDBField* FindIndexField(const TIniDatabase& db) {
  for (const TIniDBField* field = db.FirstField.get(); field; field = field->Next.get()) {
    if (field->IsIndex) return field;
  }
  return nullptr;
}

std::size_t IndexValue(const TIniDatabase& db) {
  std::size_t offset = 0;
  for (const TIniDBField* field = db.FirstField.get(); field; field = field->Next.get()) {
    if (field->IsIndex) break;
    offset += field->FieldSize;
  }
  return offset;
}

int iInitIniDatabase(PIniDatabase& handle, std::string_view fileName) {
  handle = std::make_unique<TIniDatabase>();
  handle->IniFileName = std::string(fileName);
  return 0;
}

int iAddIniDBStringField(TIniDatabase& db, std::string_view name, int maxLen, bool isIndex) {
  if (maxLen < 0) return dberr::DataTooLarge;
  return iAddIniDBField(db, name, true, static_cast<std::size_t>(maxLen) + 1, isIndex);
}

int iAddIniDBIntField(TIniDatabase& db, std::string_view name) {
  return iAddIniDBField(db, name, false, 4, false);
}

int iAddIniDBField(TIniDatabase& db, std::string_view name, bool isString, std::size_t size,
                   bool isIndex) {
  if (db.RecordSize + size > MaxIniRecordSize ||
      (isIndex && (size < 1 || size > MaxIniIndexFieldSize)) || size < 1) {
    return dberr::DataTooLarge;
  }
  if (name.size() > MaxIniFieldNameLength) return dberr::KeyTooLong;
  auto node = std::make_unique<TIniDBField>();
  node->FieldName = std::string(name);
  node->FieldSize = static_cast<std::uint32_t>(size);
  node->IsString = isString;
  node->IsIndex = isIndex && isString;
  TIniDBField* added = node.get();
  if (db.LastField) {
    db.LastField->Next = std::move(node);
  } else {
    db.FirstField = std::move(node);
  }
  db.LastField = added;
  db.RecordSize += static_cast<std::uint32_t>(size);
  return 0;
}

int iPrepareIniDatabase(TIniDatabase& db) {
  if (!db.FirstField) return dberr::NoFields;
  if (!FindIndexField(db)) return dberr::NoIndex;
  db.DefaultRec.assign(db.RecordSize, '\0');
  db.Prepared = false;

  const TProfileReader reader(db.IniFileName);
  if (reader.FileExists()) {
    ReadCountAndDefaults(db, reader);
    db.Prepared = true;
    return 0;
  }

  // A new file: an empty "Index" section and a count of 0.
  db.NumRecords = 0;
  TProfileTransaction tx(db.IniFileName);
  if (tx.FileExists()) {
    // Created meanwhile by another program: take it as it is.
    db.NumRecords = CurrentCount(tx);
    db.Prepared = true;
    return 0;
  }
  const bool written = tx.WriteString(IniIndexSection, "None", "None") &&
                       tx.DeleteKey(IniIndexSection, "None") &&
                       WriteEntryCount(tx, db.NumRecords) == 0 && tx.Commit();
  if (!written) {
    db.DefaultRec.clear();
    return dberr::IniWrite;
  }
  db.Prepared = true;
  return 0;
}

int iKeyExists(TIniDatabase& db, std::string_view key) {
  if (!db.Prepared) return 0;
  return KeyPresent(TProfileReader(db.IniFileName), key) ? 1 : 0;
}

int iSyncIniDatabase(TIniDatabase& db) {
  if (const int rc = CommonChecks(db); rc != 0) return rc;
  const TProfileReader reader(db.IniFileName);
  if (reader.Version() == db.FileVersion) return 0;
  // A file removed meanwhile holds no records; the next change creates it.
  ReadCountAndDefaults(db, reader);
  return 1;
}

bool IsStorableIniKey(std::string_view key) {
  // An empty key is one no key list shows; one with blanks around it is
  // listed without them.
  return !key.empty() && TrimProfileBlanks(key).size() == key.size() &&
         IsStorableSectionName(key) && IsStorableKey(key) && !NamesStoreSection(key);
}

bool IsStorableIniText(std::string_view text) {
  // "#" reads back as an empty text.
  return IsStorableValue(text) && ReadsBackAsWritten(text) && text != IniPresentMark;
}

int iAddIniRecord(TIniDatabase& db, std::span<const char> record) {
  if (const int rc = CommonChecks(db); rc != 0) return rc;
  if (record.size() < db.RecordSize) return dberr::DataTooLarge;
  TProfileTransaction tx(db.IniFileName);
  // Without the lock, or with a file we cannot read, nothing can be changed.
  if (!tx.Usable()) return dberr::IniWrite;
  std::int32_t count = CurrentCount(tx);
  const int rc = AddRecordIn(db, tx, record, count);
  return Finish(db, tx, rc, count);
}

int iAddIniRecords(TIniDatabase& db, std::span<const std::span<const char>> records) {
  if (const int rc = CommonChecks(db); rc != 0) return rc;
  TProfileTransaction tx(db.IniFileName);
  // Without the lock, or with a file we cannot read, nothing can be changed.
  if (!tx.Usable()) return dberr::IniWrite;
  std::int32_t count = CurrentCount(tx);
  int rc = 0;
  for (std::size_t i = 0; i < records.size() && rc == 0; ++i) {
    rc = records[i].size() < db.RecordSize ? dberr::DataTooLarge
                                           : AddRecordIn(db, tx, records[i], count);
  }
  return Finish(db, tx, rc, count);
}

int iDelIniRecord(TIniDatabase& db, std::string_view key) {
  if (const int rc = CommonChecks(db); rc != 0) return rc;
  TProfileTransaction tx(db.IniFileName);
  // Without the lock, or with a file we cannot read, nothing can be changed.
  if (!tx.Usable()) return dberr::IniWrite;
  std::int32_t count = CurrentCount(tx);
  const int rc = DelRecordIn(tx, key, count);
  return Finish(db, tx, rc, count);
}

int iUpdIniRecord(TIniDatabase& db, std::string_view key, std::span<const char> record) {
  if (const int rc = CommonChecks(db); rc != 0) return rc;
  if (record.size() < db.RecordSize) return dberr::DataTooLarge;
  const std::string newKey = IndexText(db, record);
  TProfileTransaction tx(db.IniFileName);
  // Without the lock, or with a file we cannot read, nothing can be changed.
  if (!tx.Usable()) return dberr::IniWrite;
  std::int32_t count = CurrentCount(tx);
  if (!KeyPresent(tx, key)) return dberr::RecordNotFound;
  int rc = 0;
  if (SameProfileName(newKey, key)) {
    // Same record: the section keeps its name, "Index" is not touched.
    rc = NamesStoreSection(key) ? dberr::IniWrite : WriteRecordFields(db, tx, key, record);
  } else if (KeyPresent(tx, newKey)) {
    rc = dberr::RecordExists;
  } else {
    rc = DelRecordIn(tx, key, count);
    if (rc == 0) rc = AddRecordIn(db, tx, record, count);
  }
  return Finish(db, tx, rc, count);
}

int iGetIniRecord(TIniDatabase& db, std::string_view key, std::span<char> record) {
  if (const int rc = CommonChecks(db); rc != 0) return rc;
  if (record.size() < db.RecordSize) return dberr::DataTooLarge;
  const TProfileReader reader(db.IniFileName);
  if (!KeyPresent(reader, key)) return dberr::RecordNotFound;
  std::size_t offset = 0;
  for (const TIniDBField* field = db.FirstField.get(); field; field = field->Next.get()) {
    char* slot = record.data() + offset;
    const char* defaultSlot = db.DefaultRec.data() + offset;
    offset += field->FieldSize;
    if (!field->IsString) {
      SetSlotInteger(slot, reader.ReadInteger(key, field->FieldName, SlotInteger(defaultSlot)));
    } else if (field->IsIndex) {
      // The key as the caller passed it; a longer one is cut to the field.
      SetSlotText(slot, field->FieldSize, key);
    } else {
      const std::string_view defaultText(
          defaultSlot, static_cast<std::size_t>(
                           std::find(defaultSlot, defaultSlot + field->FieldSize - 1, '\0') -
                           defaultSlot));
      std::string_view text = ReadFieldText(reader, key, *field, defaultText);
      if (text == IniPresentMark) text = {};
      SetSlotText(slot, field->FieldSize, text);
    }
  }
  return 0;
}

int iNumIniRecs(const TIniDatabase& db) { return db.NumRecords; }

int iGetIniIndexRecSize(const TIniDatabase& db) {
  const long long size = static_cast<long long>(db.NumRecords) * IniKeyRoom + 1;
  return static_cast<int>(std::clamp<long long>(size, INT_MIN, INT_MAX));
}

int iAllocIniIndexRec(TIniDatabase& db, std::vector<char>& buffer, int& size) {
  size = iGetIniIndexRecSize(db);
  if (size <= 0) {
    size = 0;
    return dberr::DatabaseEmpty;
  }
  // A key list never holds more bytes than the file, so a count edited
  // by hand to something huge cannot make us allocate more than that.
  const std::size_t bound = TProfileReader(db.IniFileName).ContentSize() + 2;
  if (static_cast<std::size_t>(size) > bound) size = static_cast<int>(std::min<std::size_t>(bound, INT_MAX));
  buffer.assign(static_cast<std::size_t>(size), '\0');
  return 0;
}

int iLoadIniIndex(TIniDatabase& db, std::vector<char>& buffer, int size) {
  if (db.NumRecords <= 0) return dberr::DatabaseEmpty;
  if (!db.Prepared) return dberr::NotPrepared;
  const std::size_t room = std::min(buffer.size(), static_cast<std::size_t>(std::max(size, 0)));
  const TProfileReader reader(db.IniFileName);
  const std::size_t used = reader.ReadKeys(IniIndexSection, buffer.data(), room);
  if (used == 0) return dberr::IniRead;
  if (room >= 2 && used == room - 2) {
    // The list may end in a key cut short; one that is not a real key is
    // dropped rather than shown.
    std::size_t last = used;
    while (last > 0 && buffer[last - 1] != '\0') --last;
    if (last < used) {
      const std::string lastKey(buffer.data() + last, used - last);
      if (!reader.HasKey(IniIndexSection, lastKey)) {
        std::fill(buffer.begin() + static_cast<std::ptrdiff_t>(last), buffer.end(), '\0');
      }
    }
  }
  return 0;
}

int iDeallocIniIndexRec(TIniDatabase& /*db*/, std::vector<char>& buffer, int /*size*/) {
  std::vector<char>().swap(buffer);
  return 0;
}

int iDoneIniDatabase(PIniDatabase& handle) {
  handle.reset();
  return 0;
}
