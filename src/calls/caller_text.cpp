#include "calls/caller_text.h"

#include <QList>

#include "calls/calls_constants.h"
#include "inidb/caller_record.h"
#include "inidb/ini_store.h"
#include "inidb/profile_document.h"

namespace calls {
namespace {

bool IsControlCharacter(char32_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

bool HasControlCharacter(const QString& text) {
  for (char32_t c : text.toUcs4()) {
    if (IsControlCharacter(c)) return true;
  }
  return false;
}

}  // namespace

std::string ToEightBit(const QString& text) { return text.toStdString(); }

QString FromEightBit(const std::string& text) { return QString::fromStdString(text); }

QString StripControlCharacters(const QString& text) {
  QString result;
  result.reserve(text.size());
  for (char32_t c : text.toUcs4()) {
    if (!IsControlCharacter(c)) result += QString::fromUcs4(&c, 1);
  }
  return result;
}

std::string FormatCallerNumber(const QString& number) {
  // Counted in characters, so a number with non-ASCII characters is never
  // split inside a character.
  const std::u32string chars = StripControlCharacters(number).toStdU32String();
  if (chars.size() != static_cast<std::size_t>(kFormattedNumberLength)) {
    return ToEightBit(QString::fromStdU32String(chars));
  }
  const std::u32string formatted =
      chars.substr(0, 3) + U"-" + chars.substr(3, 3) + U"-" + chars.substr(6, 4);
  return ToEightBit(QString::fromStdU32String(formatted));
}

bool IsSafePictureName(const QString& name) {
  return !name.contains(QLatin1Char('/')) && name != QLatin1String(".") &&
         name != QLatin1String("..");
}

bool IsStorableCallerName(const QString& name) {
  const std::string text = ToEightBit(name);
  return !HasControlCharacter(name) && IsStorableIniKey(text) && !IsReservedCallerName(text) &&
         IsSafePictureName(name);
}

bool IsStorableCallerID(const QString& number) {
  return !HasControlCharacter(number) && IsStorableIniText(ToEightBit(number));
}

QString StoredCallerText(const QString& text) {
  const std::string trimmed(TrimProfileBlanks(ToEightBit(text)));
  // Cutting may leave a blank at the end.
  return FromEightBit(std::string(TrimProfileBlanks(CutText(trimmed, kRecordFieldBytes))));
}

}  // namespace calls
