#include "telephony/caller_id_parser.h"

#include <QList>
#include <QStringDecoder>
#include <array>

namespace {

using Kind = TLineNotice::Kind;

struct TTag {
  const char* text;
  Kind kind;
};

// Tags of the formatted caller-ID report, as the various modem makers spell them.
constexpr std::array<TTag, 8> kTags{{
    {"NMBR", Kind::kNumber},
    {"DDN_NMBR", Kind::kNumber},
    {"DDN", Kind::kNumber},
    {"NBR", Kind::kNumber},
    {"NAME", Kind::kName},
    {"DATE", Kind::kCallerIdData},
    {"TIME", Kind::kCallerIdData},
    {"MESG", Kind::kCallerIdData},
}};

constexpr const char* kRing = "RING";
// What modems send for a number or name the caller withheld, and for one
// the network could not deliver.
constexpr const char* kWithheld = "P";
constexpr const char* kUnavailable = "O";

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

TLineNotice ParseModemLine(const QByteArray& line) {
  TLineNotice result;
  const QByteArray trimmed = line.trimmed();
  if (trimmed == kRing || trimmed.startsWith(QByteArray(kRing) + ' ')) {
    result.kind = Kind::kRing;
    return result;
  }
  const qsizetype equals = trimmed.indexOf('=');
  if (equals < 0) return result;
  const QByteArray tag = trimmed.left(equals).trimmed().toUpper();
  for (const TTag& known : kTags) {
    if (tag != known.text) continue;
    result.kind = known.kind;
    if (known.kind == Kind::kCallerIdData) return result;
    result.value = SanitiseCallerText(trimmed.mid(equals + 1));
    if (result.value == QLatin1String(kWithheld)) {
      result.presence = TLineNotice::Presence::kWithheld;
      result.value.clear();
    } else if (result.value == QLatin1String(kUnavailable)) {
      result.presence = TLineNotice::Presence::kUnavailable;
      result.value.clear();
    }
    return result;
  }
  return result;
}

std::vector<TLineNotice> TModemParser::Feed(const QByteArray& data) {
  std::vector<TLineNotice> notices;
  for (const QByteArray& line : assembler_.Feed(data)) notices.push_back(ParseModemLine(line));
  return notices;
}
