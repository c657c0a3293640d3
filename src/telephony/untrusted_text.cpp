#include "telephony/untrusted_text.h"

#include <QList>
#include <QStringDecoder>

namespace {

QString Decode(const QByteArray& raw) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = utf8(raw);
  if (utf8.hasError()) text = QString::fromLatin1(raw);
  return text;
}

bool IsUnwanted(char32_t c) {
  // C0, DEL and C1 controls, plus the invisible format characters (such as
  // bidirectional overrides) that would let a caller disguise the text.
  const QChar::Category category = QChar::category(c);
  return category == QChar::Other_Control || category == QChar::Other_Format;
}

}  // namespace

QString SanitiseCallerText(const QByteArray& raw) {
  const QString decoded = Decode(raw);
  QString clean;
  clean.reserve(decoded.size());
  for (const char32_t c : decoded.toUcs4()) {
    if (IsUnwanted(c)) continue;
    clean += QChar::fromUcs4(c);
  }
  clean = clean.trimmed();
  // Cut by characters, never inside a surrogate pair.
  int chars = 0;
  qsizetype end = 0;
  while (end < clean.size() && chars < kMaxCallerTextChars) {
    end += clean.at(end).isHighSurrogate() && end + 1 < clean.size() ? 2 : 1;
    ++chars;
  }
  clean.truncate(end);
  return clean.trimmed();
}
