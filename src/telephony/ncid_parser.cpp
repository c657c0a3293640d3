#include "telephony/ncid_parser.h"

#include <QHash>

#include "telephony/untrusted_text.h"

namespace {

using Kind = TLineNotice::Kind;
using Presence = TLineNotice::Presence;

constexpr int kApiLine = 210;
constexpr int kStartupEnd = 300;

constexpr const char* kClientName = "quorvel";
constexpr const char* kNoLogCommand = "HELLO: CMD: no_log\n";

// Values that stand for "nothing to show", a number or name withheld by
// the caller, and one the network could not deliver.
constexpr const char* kNothing = "-";
constexpr const char* kNoName = "NO NAME";
constexpr const char* kNoNumber = "NO-NUMBER";
constexpr const char* kOutOfArea = "OUT-OF-AREA";
constexpr const char* kPrivate = "PRIVATE";
constexpr const char* kAnonymous = "ANONYMOUS";

// CIDINFO ring counts: above 0 the phone rang; 0 it stopped ringing and was
// answered, -2 it was hung up after being answered; any other count below
// 0 (missed, busy, hung up by the server) ends an unanswered call.
constexpr int kRingAnswered = 0;
constexpr int kRingHungUpAfterAnswer = -2;

// END: a call hung up after being answered; the direction of an incoming call.
constexpr const char* kHangupAfterAnswer = "BYE";
constexpr const char* kIncoming = "IN";

using TFields = QHash<QByteArray, QByteArray>;

// "*LABEL*value*LABEL*value*": by label, the first of each; what comes
// before the first "*" is not a field.
TFields ReadFields(const QByteArray& body) {
  TFields fields;
  const qsizetype start = body.indexOf('*');
  if (start < 0) return fields;
  const QList<QByteArray> parts = body.mid(start + 1).split('*');
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QByteArray label = parts.at(i).trimmed();
    if (!label.isEmpty() && !fields.contains(label)) fields.insert(label, parts.at(i + 1));
  }
  return fields;
}

// A number or name notice for the field `label`, unless it has nothing to show.
void AddCallerText(const TFields& fields, const char* label, Kind kind, std::vector<TLineNotice>& notices) {
  const auto raw = fields.constFind(label);
  if (raw == fields.constEnd()) return;
  TLineNotice notice;
  notice.kind = kind;
  notice.value = SanitiseCallerText(*raw);
  const QString& value = notice.value;
  if (value.isEmpty() || value == QLatin1String(kNothing) || (kind == Kind::kName && value == QLatin1String(kNoName))) {
    return;
  }
  if (value == QLatin1String(kPrivate) || value == QLatin1String(kAnonymous)) {
    notice.presence = Presence::kWithheld;
  } else if (value == QLatin1String(kOutOfArea) || (kind == Kind::kNumber && value == QLatin1String(kNoNumber))) {
    notice.presence = Presence::kUnavailable;
  }
  if (notice.presence != Presence::kSent) notice.value.clear();
  notices.push_back(notice);
}

void ReadCall(const TFields& fields, std::vector<TLineNotice>& notices) {
  // One CID line is one call: it rings, and its caller ID follows.
  notices.push_back({Kind::kRing, QString(), Presence::kSent});
  notices.push_back({Kind::kCallerIdData, QString(), Presence::kSent});
  AddCallerText(fields, "NMBR", Kind::kNumber, notices);
  AddCallerText(fields, "NAME", Kind::kName, notices);
}

void AddCallEnd(bool answered, std::vector<TLineNotice>& notices) {
  if (answered) notices.push_back({Kind::kAnswered, QString(), Presence::kSent});
  notices.push_back({Kind::kEnded, QString(), Presence::kSent});
}

// The "LINE" label, when there is one.
std::optional<QByteArray> TelephoneLine(const TFields& fields) {
  const auto line = fields.constFind("LINE");
  if (line == fields.constEnd()) return std::nullopt;
  return line->trimmed();
}

// The number a status line begins with ("200 Server: ..."), or -1.
int StatusCode(const QByteArray& line) {
  if (line.size() < 3 || (line.size() > 3 && line.at(3) != ' ')) return -1;
  for (int i = 0; i < 3; ++i) {
    if (line.at(i) < '0' || line.at(i) > '9') return -1;
  }
  return line.left(3).toInt();
}

}  // namespace

TNcidParser::TNcidParser(const QByteArray& clientVersion)
    : hello_(QByteArray("HELLO: IDENT: client ") + kClientName + ' ' + clientVersion + '\n' + kNoLogCommand) {}

TNetworkProtocol::TOutput TNcidParser::Feed(const QByteArray& data) {
  TOutput output;
  for (const QByteArray& line : assembler_.Feed(data)) ReadLine(line.trimmed(), output);
  return output;
}

bool TNcidParser::Followed(const std::optional<QByteArray>& line) const {
  return !line || !callLine_ || *line == *callLine_;
}

void TNcidParser::Restart() {
  assembler_.Reset();
  helloSent_ = false;
  startupDone_ = false;
}

void TNcidParser::ReadLine(const QByteArray& line, TOutput& output) {
  const int code = StatusCode(line);
  if (code == kApiLine && !helloSent_ && !startupDone_) {
    // Only right after this line does the server listen to the client.
    helloSent_ = true;
    output.reply += hello_;
  } else if (code == kStartupEnd) {
    startupDone_ = true;
  }
  if (code >= 0) return;

  const qsizetype colon = line.indexOf(':');
  if (colon < 0) return;
  QByteArray type = line.left(colon);
  // Relayed from another server: the same line.
  if (type.startsWith('+')) type.remove(0, 1);
  const QByteArray body = line.mid(colon + 1);
  if (type == "MSG" || type == "NOT") {
    output.messages << SanitiseCallerText(body);
    return;
  }
  const TFields fields = ReadFields(body);
  if (type == "CID") {
    callLine_ = TelephoneLine(fields);
    ReadCall(fields, output.notices);
  } else if (type == "CIDINFO") {
    bool ok = false;
    const int ring = fields.value("RING").trimmed().toInt(&ok);
    if (!ok) return;
    if (ring > 0) {
      callLine_ = TelephoneLine(fields);
      output.notices.push_back({Kind::kRing, QString(), Presence::kSent});
    } else if (Followed(TelephoneLine(fields))) {
      AddCallEnd(ring == kRingAnswered || ring == kRingHungUpAfterAnswer, output.notices);
    }
  } else if (type == "END") {
    // Outgoing calls are not this program's business.
    const auto direction = fields.constFind("CTYPE");
    if (direction != fields.constEnd() && direction->trimmed() != kIncoming) return;
    if (Followed(TelephoneLine(fields)))
      AddCallEnd(fields.value("HTYPE").trimmed() == kHangupAfterAnswer, output.notices);
  }
}
