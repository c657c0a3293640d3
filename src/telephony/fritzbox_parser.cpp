#include "telephony/fritzbox_parser.h"

#include <QList>

#include "telephony/untrusted_text.h"

namespace {

using Kind = TLineNotice::Kind;
using Presence = TLineNotice::Presence;

// "date;EVENT;connection id;..." and the caller's number after the id in RING.
constexpr int kEventField = 1;
constexpr int kIdField = 2;
constexpr int kCallerField = 3;

}  // namespace

TNetworkProtocol::TOutput TFritzBoxParser::Feed(const QByteArray& data) {
  TOutput output;
  for (const QByteArray& line : assembler_.Feed(data)) ReadLine(line, output.notices);
  return output;
}

void TFritzBoxParser::ReadLine(const QByteArray& line, std::vector<TLineNotice>& notices) {
  const QList<QByteArray> fields = line.split(';');
  if (fields.size() <= kIdField) return;
  const QByteArray event = fields.at(kEventField).trimmed();
  const QByteArray id = fields.at(kIdField).trimmed();
  const bool followed = current_ && *current_ == id;
  if (event == "RING") {
    if (fields.size() <= kCallerField) return;
    // A new call, also on the id of one whose end never came: the call
    // tracking ends the one before it.
    current_ = id;
    TLineNotice number{Kind::kNumber, SanitiseCallerText(fields.at(kCallerField)), Presence::kSent};
    if (number.value.isEmpty()) number.presence = Presence::kWithheld;
    notices.push_back({Kind::kRing, QString(), Presence::kSent});
    notices.push_back(number);
  } else if (event == "CONNECT" && followed) {
    current_.reset();
    notices.push_back({Kind::kAnswered, QString(), Presence::kSent});
    notices.push_back({Kind::kEnded, QString(), Presence::kSent});
  } else if (event == "DISCONNECT" && followed) {
    current_.reset();
    notices.push_back({Kind::kEnded, QString(), Presence::kSent});
  } else if (event == "CALL" && followed) {
    // The id now belongs to an outgoing call: the incoming one ended unseen.
    current_.reset();
  }
}
