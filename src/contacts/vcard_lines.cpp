#include "contacts/vcard_lines.h"

namespace contacts {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Where the line's name and parameters end: the first ":" outside a quoted
// parameter value; -1 when there is none.
qsizetype ValueSeparator(QByteArrayView text) {
  bool quoted = false;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == '"') quoted = !quoted;
    else if (text[i] == ':' && !quoted) return i;
  }
  return -1;
}

std::vector<QByteArrayView> SplitParams(QByteArrayView head) {
  std::vector<QByteArrayView> parts;
  bool quoted = false;
  qsizetype start = 0;
  for (qsizetype i = 0; i <= head.size(); ++i) {
    if (i < head.size() && head[i] == '"') quoted = !quoted;
    if (i == head.size() || (head[i] == ';' && !quoted)) {
      parts.push_back(head.sliced(start, i - start));
      start = i + 1;
    }
  }
  return parts;
}

QByteArray Unquoted(QByteArrayView value) {
  QByteArray text = value.trimmed().toByteArray();
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') text = text.mid(1, text.size() - 2);
  return text;
}

bool IsEncodingName(const QByteArray& upper) {
  return upper == "QUOTED-PRINTABLE" || upper == "BASE64" || upper == "B" || upper == "8BIT" ||
         upper == "7BIT";
}

}  // namespace

QByteArray TContentLine::Param(QByteArrayView name) const {
  for (const auto& [key, value] : Params) {
    if (key == name) return value;
  }
  return QByteArray();
}

QByteArray TContentLine::Encoding() const {
  const QByteArray named = Param("ENCODING").toUpper();
  if (!named.isEmpty()) return named;
  for (const auto& [key, value] : Params) {
    if (key.isEmpty() && IsEncodingName(value.toUpper())) return value.toUpper();
  }
  return QByteArray();
}

bool TContentLine::IsQuotedPrintable() const { return Encoding() == "QUOTED-PRINTABLE"; }

bool TContentLine::IsBase64() const {
  const QByteArray encoding = Encoding();
  return encoding == "BASE64" || encoding == "B";
}

TContentLine ParseContentLine(QByteArrayView text, int lineNumber) {
  TContentLine line;
  line.LineNumber = lineNumber;
  const qsizetype colon = ValueSeparator(text);
  if (colon < 0) return line;
  const std::vector<QByteArrayView> parts = SplitParams(text.first(colon));
  QByteArrayView name = parts.front().trimmed();
  // "item1.TEL": the group only ties properties together for display.
  const qsizetype dot = name.lastIndexOf('.');
  if (dot >= 0) name = name.sliced(dot + 1);
  if (name.isEmpty()) return line;
  line.Name = name.toByteArray().toUpper();
  for (std::size_t i = 1; i < parts.size(); ++i) {
    const QByteArrayView part = parts[i];
    const qsizetype equals = part.indexOf('=');
    if (equals < 0)
      line.Params.emplace_back(QByteArray(), Unquoted(part));
    else
      line.Params.emplace_back(part.first(equals).trimmed().toByteArray().toUpper(),
                               Unquoted(part.sliced(equals + 1)));
  }
  line.Value = text.sliced(colon + 1).toByteArray();
  line.Valid = true;
  return line;
}

TContentLineReader::TContentLineReader(QByteArray data) : data_(std::move(data)) {}

bool TContentLineReader::PeekPhysicalLine(QByteArrayView& text) const {
  if (pos_ >= data_.size()) return false;
  qsizetype end = pos_;
  while (end < data_.size() && data_[end] != '\r' && data_[end] != '\n') ++end;
  text = QByteArrayView(data_).sliced(pos_, end - pos_);
  return true;
}

bool TContentLineReader::NextPhysicalLine(QByteArrayView& text) {
  if (!PeekPhysicalLine(text)) return false;
  pos_ += text.size();
  if (pos_ < data_.size() && data_[pos_] == '\r') ++pos_;
  if (pos_ < data_.size() && data_[pos_] == '\n') ++pos_;
  ++lineNumber_;
  return true;
}

bool TContentLineReader::Next(TContentLine& line) {
  QByteArrayView first;
  do {
    if (!NextPhysicalLine(first)) return false;
  } while (first.trimmed().isEmpty());
  const int number = lineNumber_;
  // The encoding decides how the value continues; it is named on the
  // property's first line.
  const TContentLine head = ParseContentLine(first, number);
  const bool quotedPrintable = head.Valid && head.IsQuotedPrintable();
  const bool bareBase64 = head.Valid && head.IsBase64();

  QByteArray text = first.toByteArray();
  QByteArrayView next;
  while (PeekPhysicalLine(next)) {
    const bool softBreak = quotedPrintable && text.endsWith('=');
    if (!next.isEmpty() && IsBlank(next.front())) {
      if (softBreak) text.chop(1);
      text += next.sliced(1);
    } else if (softBreak) {
      text.chop(1);
      text += next;
    } else if (bareBase64 && !next.trimmed().isEmpty() && !next.contains(':')) {
      text += next;
    } else {
      break;
    }
    NextPhysicalLine(next);
  }
  line = ParseContentLine(text, number);
  return true;
}

}  // namespace contacts
