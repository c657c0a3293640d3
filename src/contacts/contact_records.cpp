#include "contacts/contact_records.h"

#include "calls/caller_text.h"
#include "calls/calls_constants.h"
#include "inidb/caller_record.h"
#include "numbers/number_equivalence.h"

namespace contacts {
namespace {

bool HasDigit(const QString& text) {
  for (QChar c : text) {
    if (c.isDigit()) return true;
  }
  return false;
}

// UTF-8 text cut to `bytes` without splitting a character, blanks at the
// cut removed.
QString CutToBytes(const QString& text, std::size_t bytes) {
  return calls::FromEightBit(CutText(calls::ToEightBit(text), bytes)).trimmed();
}

}  // namespace

QString CallerNameOf(const QString& contactName) {
  QString name = calls::StripControlCharacters(contactName.simplified());
  for (QChar& c : name) {
    if (c == QLatin1Char('/') || c == QLatin1Char('=') || c == QLatin1Char('[') ||
        c == QLatin1Char(']'))
      c = QLatin1Char('-');
  }
  name = name.simplified();
  while (name.startsWith(QLatin1Char(calls::kPlaceholderStart)) || name.startsWith(QLatin1Char(';')))
    name = name.mid(1).trimmed();
  if (name == QLatin1String(".") || name == QLatin1String("..")) return QString();
  return name;
}

QString NumberedName(const QString& callerName, int n) {
  const QString suffix = n <= 1 ? QString() : QStringLiteral(" %1").arg(n);
  const std::size_t room = TCallerRecord::FieldLength - static_cast<std::size_t>(suffix.size());
  return CutToBytes(callerName, room) + suffix;
}

std::string StoredNumberOf(const QString& written, const numbers::TNumberEquivalence& home) {
  const QString number = calls::StripControlCharacters(written).trimmed();
  if (!HasDigit(number)) return std::string();
  const std::string digits = home.NationalDigits(calls::ToEightBit(number));
  if (digits.size() == static_cast<std::size_t>(calls::kFormattedNumberLength))
    return calls::FormatCallerNumber(QString::fromStdString(digits));
  const QString stored = calls::StoredCallerText(number);
  return calls::IsStorableCallerID(stored) ? calls::ToEightBit(stored) : std::string();
}

std::vector<TContactRecord> RecordsOf(const QString& callerName, const QStringList& numbers,
                                      const numbers::TNumberEquivalence& home) {
  std::vector<TContactRecord> records;
  for (const QString& written : numbers) {
    const std::string number = StoredNumberOf(written, home);
    if (number.empty()) continue;
    bool repeated = false;
    for (const TContactRecord& record : records) repeated = repeated || record.Number == number;
    if (repeated) continue;
    records.push_back({NumberedName(callerName, static_cast<int>(records.size()) + 1), number});
  }
  return records;
}

}  // namespace contacts
