#include "inidb/db_errors.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string_view>

#include "inidb/base_component.h"
#include "inidb/caller_record.h"

namespace {

// Messages of the library, sorted by ascending code (compared by absolute
// value).
struct TMessage {
  int Code;
  std::string_view Text;
};

constexpr std::array<TMessage, 13> Messages{{
    {-dberr::KeyTooLong, sKeyTooLong},
    {-dberr::DataTooLarge, sDataTooLarge},
    {-dberr::NoFields, sNoFields},
    {-dberr::IniWrite, sIniWrite},
    {-dberr::IniRead, sIniRead},
    {-dberr::NoIndex, sNoIndex},
    {-dberr::RecordExists, sRecordExists},
    {-dberr::RecordNotFound, sRecordNotFound},
    {-dberr::DatabaseFull, sDatabaseFull},
    {-dberr::DatabaseEmpty, sDatabaseEmpty},
    {-dberr::NotPrepared, sNotPrepared},
    {-dberr::BadFieldList, sBadFieldList},
    {-dberr::BadFieldForIndex, sBadFieldForIndex},
}};

static_assert(std::is_sorted(Messages.begin(), Messages.end(),
                             [](const TMessage& a, const TMessage& b) { return a.Code < b.Code; }));

constexpr std::size_t MaxMessageLength = 255;

// The code's absolute value; the one code without one maps to the largest.
int Magnitude(int code) {
  if (code == std::numeric_limits<int>::min()) return std::numeric_limits<int>::max();
  return code < 0 ? -code : code;
}

// The system's text for an error number, on one line.
std::string SystemMessage(int number) {
  std::string text = std::strerror(number);
  std::string out;
  for (char c : text) {
    const char blank = static_cast<unsigned char>(c) < 32 ? ' ' : c;
    if (blank == ' ' && !out.empty() && out.back() == ' ') continue;
    out.push_back(blank);
  }
  return out;
}

}  // namespace

ECodedException::ECodedException(int code) : ECodedException(code, LoadErrorStr(code)) {}

ECodedException::ECodedException(int code, const std::string& message)
    : std::runtime_error(message), ErrorCode(code) {}

std::string MessageNumberToString(int code) {
  const int key = Magnitude(code);
  const auto it = std::lower_bound(Messages.begin(), Messages.end(), key,
                                   [](const TMessage& m, int k) { return m.Code < k; });
  if (it == Messages.end() || it->Code != key) return {};
  return std::string(it->Text);
}

std::string LoadErrorStr(int code) {
  std::string text = MessageNumberToString(code);
  if (text.empty()) text = SystemMessage(Magnitude(code));
  return CutText(text, MaxMessageLength);
}

std::string ErrorMsg(int code) { return LoadErrorStr(code); }

void RaiseCodedException(int code) {
  switch (code) {
    case dberr::KeyTooLong: throw EKeyTooLong(code);
    case dberr::DataTooLarge: throw EDataTooLarge(code);
    case dberr::NoFields: throw EInternal(code);
    case dberr::IniWrite: throw EIniWrite(code);
    case dberr::IniRead: throw EIniRead(code);
    case dberr::NoIndex: throw EInternal(code);
    case dberr::RecordExists: throw ERecordExists(code);
    case dberr::RecordNotFound: throw ERecordNotFound(code);
    case dberr::DatabaseFull: throw EDatabaseFull(code);
    case dberr::DatabaseEmpty: throw EDatabaseEmpty(code);
    case dberr::NotPrepared: throw EInternal(code);
    case dberr::BadFieldList: throw EBadFieldList(code);
    case dberr::BadFieldForIndex: throw EBadFieldForIndex(code);
    default: throw ECodedException(code);
  }
}

int CheckException(const TBaseComponent* component, int code) {
  if (code >= 0) return code;
  if (component != nullptr && component->IsLoading()) return code;
  RaiseCodedException(code);
}
