#include "contacts/vcard_reader.h"

#include "contacts/contacts_texts.h"
#include "contacts/vcard_values.h"

namespace contacts {
namespace {

bool IsCardBoundary(const TContentLine& line, const char* name) {
  return line.Valid && line.Name == name && line.Value.trimmed().toUpper() == "VCARD";
}

// The text of a property value: transfer encoding, character set and
// escapes undone.
QString TextOf(const TContentLine& line) {
  const QByteArray bytes =
      line.IsQuotedPrintable() ? DecodeQuotedPrintable(line.Value) : line.Value;
  return DecodeCharset(bytes, line.Param("CHARSET"));
}

// "Prefix Given Additional Family Suffix" from N's "Family;Given;Additional;Prefix;Suffix".
QString NameFromParts(const QString& structured) {
  const QStringList parts = SplitStructured(structured);
  static constexpr int kReadingOrder[] = {3, 1, 2, 0, 4};
  QStringList words;
  for (int index : kReadingOrder) {
    if (index >= parts.size()) continue;
    // Several values of one part are separated by commas.
    const QString part = parts[index].split(QLatin1Char(',')).join(QLatin1Char(' ')).trimmed();
    if (!part.isEmpty()) words << part;
  }
  return words.join(QLatin1Char(' '));
}

// A TEL value; vCard 4.0 may write it as a tel: URI ("tel:+1-555-0101;ext=12").
QString NumberOf(const TContentLine& line) {
  QString number = UnescapeText(TextOf(line)).trimmed();
  if (number.startsWith(QLatin1String("tel:"), Qt::CaseInsensitive)) {
    number = number.mid(4);
    const qsizetype ext = number.indexOf(QLatin1String(";ext="), 0, Qt::CaseInsensitive);
    const QString extension = ext >= 0 ? number.mid(ext + 5).section(QLatin1Char(';'), 0, 0) : QString();
    number = number.section(QLatin1Char(';'), 0, 0);
    if (!extension.isEmpty()) number += QLatin1String(" ext. ") + extension;
  }
  return number;
}

bool PhotoOf(const TContentLine& line, QByteArray& bytes) {
  if (line.IsBase64()) return DecodeBase64(line.Value, bytes);
  return DecodeDataUri(line.Value, bytes);
}

// A card's properties as they are read.
struct TCardParts {
  TVCard Card;
  QString FormattedName;  // FN
  QString NameFromN;      // N, used when there is no FN
};

void Take(const TContentLine& line, TCardParts& parts) {
  TVCard& card = parts.Card;
  if (line.Name == "FN") {
    if (parts.FormattedName.isEmpty()) parts.FormattedName = UnescapeText(TextOf(line)).trimmed();
  } else if (line.Name == "N") {
    if (parts.NameFromN.isEmpty()) parts.NameFromN = NameFromParts(TextOf(line));
  } else if (line.Name == "TEL") {
    const QString number = NumberOf(line);
    if (!number.isEmpty()) card.Numbers << number;
  } else if (line.Name == "PHOTO" && card.Photo.isEmpty()) {
    QByteArray bytes;
    card.PhotoUnreadable = !PhotoOf(line, bytes) || bytes.isEmpty();
    if (!card.PhotoUnreadable) card.Photo = std::move(bytes);
  }
}

TVCardEntry Finished(TCardParts& parts) {
  TVCardEntry entry;
  entry.Card = std::move(parts.Card);
  entry.Card.Name = parts.FormattedName.isEmpty() ? parts.NameFromN : parts.FormattedName;
  return entry;
}

TVCardEntry Malformed(TCardParts& parts, QString reason) {
  TVCardEntry entry = Finished(parts);
  entry.Malformed = true;
  entry.Reason = std::move(reason);
  return entry;
}

}  // namespace

TVCardReader::TVCardReader(QByteArray data) : lines_(std::move(data)) {}

int CountCards(const QByteArray& data) {
  int count = 0;
  for (qsizetype at = data.indexOf(':'); at >= 0; at = data.indexOf(':', at + 1)) {
    // "BEGIN:VCARD" in any letter case, at the start of a line.
    if (at < 5 || data.mid(at - 5, 5).toUpper() != "BEGIN") continue;
    if (at > 5 && data[at - 6] != '\n' && data[at - 6] != '\r') continue;
    if (data.mid(at + 1, 5).toUpper() == "VCARD") ++count;
  }
  return count;
}

std::optional<TVCardEntry> TVCardReader::Next() {
  TContentLine line;
  std::optional<int> begin = pendingBegin_;
  pendingBegin_.reset();
  while (!begin) {
    if (!lines_.Next(line)) return std::nullopt;
    if (IsCardBoundary(line, "BEGIN")) begin = line.LineNumber;
  }

  TCardParts parts;
  parts.Card.FirstLine = *begin;
  std::optional<QString> malformed;
  int nested = 0;  // vCard 2.1 AGENT values embed whole cards
  bool afterAgent = false;
  while (lines_.Next(line)) {
    if (IsCardBoundary(line, "BEGIN")) {
      if (afterAgent || nested > 0) {
        ++nested;
        continue;
      }
      pendingBegin_ = line.LineNumber;
      return Malformed(parts, Tr(kCardDoesNotEnd));
    }
    if (IsCardBoundary(line, "END")) {
      if (nested > 0) {
        --nested;
        continue;
      }
      if (malformed) return Malformed(parts, *malformed);
      return Finished(parts);
    }
    afterAgent = line.Valid && line.Name == "AGENT" && line.Value.trimmed().isEmpty();
    if (nested > 0 || malformed) continue;
    if (!line.Valid)
      malformed = Tr(kLineIsNoProperty).arg(line.LineNumber);
    else
      Take(line, parts);
  }
  return Malformed(parts, Tr(kCardDoesNotEnd));
}

}  // namespace contacts
