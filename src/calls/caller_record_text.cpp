#include "calls/caller_record_text.h"

#include "calls/caller_text.h"

namespace calls {

TCallerRecord MakeCallerRecord(const std::string& name, const std::string& number) {
  TCallerRecord record{};
  record.CallerName.Set(name);
  record.CallerID.Set(number);
  return record;
}

std::string RecordCallerName(const TCallerRecord& record) { return record.CallerName.Get(); }

std::string RecordCallerID(const TCallerRecord& record) { return record.CallerID.Get(); }

TDBKeyStr CallerKey(const QString& name) { return TDBKeyStr(ToEightBit(name)); }

}  // namespace calls
