#include "telephony/caller_id_parser.h"

#include <QList>
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

}  // namespace

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
