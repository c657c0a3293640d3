#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "translatable.h"

// Result codes of the record store. Negative codes are failures; the
// component turns each into an exception of the class the code names.
namespace dberr {
inline constexpr int KeyTooLong = -7001;
inline constexpr int DataTooLarge = -7002;
inline constexpr int NoFields = -7003;
inline constexpr int IniWrite = -7004;
inline constexpr int IniRead = -7005;
inline constexpr int NoIndex = -7006;
inline constexpr int RecordExists = -7007;
inline constexpr int RecordNotFound = -7008;
inline constexpr int DatabaseFull = -7010;
inline constexpr int DatabaseEmpty = -7011;
inline constexpr int NotPrepared = -7012;
inline constexpr int BadFieldList = -7013;
inline constexpr int BadFieldForIndex = -7014;
}  // namespace dberr

// The message texts of the codes above; the program shows them translated.
inline constexpr char sKeyTooLong[] = TRANSLATABLE_TEXT("TIniDBase", "Key string too long");
inline constexpr char sDataTooLarge[] = TRANSLATABLE_TEXT("TIniDBase", "Data string too long");
inline constexpr char sNoFields[] = TRANSLATABLE_TEXT("TIniDBase", "No fields defined in database");
inline constexpr char sIniWrite[] = TRANSLATABLE_TEXT("TIniDBase", "Generic INI file write error");
inline constexpr char sIniRead[] = TRANSLATABLE_TEXT("TIniDBase", "Generic INI file read error");
inline constexpr char sNoIndex[] = TRANSLATABLE_TEXT("TIniDBase", "No index defined for database");
inline constexpr char sRecordExists[] = TRANSLATABLE_TEXT("TIniDBase", "Record already exists");
inline constexpr char sRecordNotFound[] = TRANSLATABLE_TEXT("TIniDBase", "Record not found in database");
inline constexpr char sDatabaseFull[] = TRANSLATABLE_TEXT("TIniDBase", "Maximum database records (999) reached");
inline constexpr char sDatabaseEmpty[] = TRANSLATABLE_TEXT("TIniDBase", "No records in database");
inline constexpr char sNotPrepared[] = TRANSLATABLE_TEXT("TIniDBase", "iPrepareIniDatabase not called");
inline constexpr char sBadFieldList[] = TRANSLATABLE_TEXT("TIniDBase", "Bad field list in INI component");
inline constexpr char sBadFieldForIndex[] = TRANSLATABLE_TEXT("TIniDBase", "Bad field index in INI component");

// An error that carries a result code. what() is the code's message.
class ECodedException : public std::runtime_error {
 public:
  // The message is LoadErrorStr of the code's absolute value.
  explicit ECodedException(int code);
  ECodedException(int code, const std::string& message);

  std::int32_t ErrorCode;
};

// Database errors.
class EINI : public ECodedException { using ECodedException::ECodedException; };
class EKeyTooLong : public EINI { using EINI::EINI; };
class EDataTooLarge : public EINI { using EINI::EINI; };
class EIniWrite : public EINI { using EINI::EINI; };
class EIniRead : public EINI { using EINI::EINI; };
class ERecordExists : public EINI { using EINI::EINI; };
class ERecordNotFound : public EINI { using EINI::EINI; };
class EDatabaseFull : public EINI { using EINI::EINI; };
class EDatabaseEmpty : public EINI { using EINI::EINI; };
class EBadFieldList : public EINI { using EINI::EINI; };
class EBadFieldForIndex : public EINI { using EINI::EINI; };

// General errors of the component library.
class EGeneral : public ECodedException { using ECodedException::ECodedException; };
// Misuse that the component's own sequencing should prevent.
class EInternal : public EGeneral { using EGeneral::EGeneral; };

// Throws the exception of the class that `code` names, with its message.
// A code the database does not define throws an ECodedException.
[[noreturn]] void RaiseCodedException(int code);

class TBaseComponent;

// Returns `code` when it is 0 or above, or while `component` is loading its
// persisted configuration; otherwise throws the code's exception.
int CheckException(const TBaseComponent* component, int code);

// The message of a code (sign ignored); when the library has none, the
// operating system's text for the number with control characters turned to
// blanks and runs of blanks reduced to one. At most 255 bytes.
std::string LoadErrorStr(int code);
std::string ErrorMsg(int code);

// The library's own message for a code (sign ignored), or empty text.
std::string MessageNumberToString(int code);
