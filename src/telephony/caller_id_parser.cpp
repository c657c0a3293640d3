#include "telephony/caller_id_parser.h"

#include <QList>
#include <QStringDecoder>
#include <array>

namespace {

struct TTag {
  const char* text;
  TModemLine::Kind kind;
};

// Tags of the formatted caller-ID report, as the various modem makers spell them.
constexpr std::array<TTag, 8> kTags{{
    {"NMBR", TModemLine::Kind::kNumber},
    {"DDN_NMBR", TModemLine::Kind::kNumber},
    {"DDN", TModemLine::Kind::kNumber},
    {"NBR", TModemLine::Kind::kNumber},
    {"NAME", TModemLine::Kind::kName},
    {"DATE", TModemLine::Kind::kOtherCallerId},
    {"TIME", TModemLine::Kind::kOtherCallerId},
    {"MESG", TModemLine::Kind::kOtherCallerId},
}};

constexpr const char* kRing = "RING";

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

TModemLine ParseModemLine(const QByteArray& line) {
  TModemLine result;
  const QByteArray trimmed = line.trimmed();
  if (trimmed == kRing || trimmed.startsWith(QByteArray(kRing) + ' ')) {
    result.kind = TModemLine::Kind::kRing;
    return result;
  }
  const qsizetype equals = trimmed.indexOf('=');
  if (equals < 0) return result;
  const QByteArray tag = trimmed.left(equals).trimmed().toUpper();
  for (const TTag& known : kTags) {
    if (tag == known.text) {
      result.kind = known.kind;
      if (known.kind != TModemLine::Kind::kOtherCallerId) {
        result.value = SanitiseCallerText(trimmed.mid(equals + 1));
      }
      return result;
    }
  }
  return result;
}
