#include "platform/settings_document.h"

#include <QStringDecoder>

namespace platform {
namespace {

// QSettings keeps the values outside any group in this section.
constexpr const char* kRootSection = "General";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

QByteArray Trimmed(const QByteArray& text) {
  qsizetype begin = 0, end = text.size();
  while (begin < end && IsBlank(text.at(begin))) ++begin;
  while (end > begin && IsBlank(text.at(end - 1))) --end;
  return text.mid(begin, end - begin);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Hand-written files may hold Latin-1 instead of UTF-8.
QString DecodeText(const QByteArray& bytes) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = utf8(bytes);
  return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

bool SamePart(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

bool StartsWith(const QStringList& path, const QStringList& prefix) {
  if (path.size() < prefix.size()) return false;
  for (qsizetype i = 0; i < prefix.size(); ++i) {
    if (!SamePart(path.at(i), prefix.at(i))) return false;
  }
  return true;
}

bool SamePath(const QStringList& a, const QStringList& b) { return a.size() == b.size() && StartsWith(a, b); }

QStringList SplitPath(const QString& keyPath) { return keyPath.split(QLatin1Char('/'), Qt::SkipEmptyParts); }

}  // namespace

namespace settings_syntax {

QStringList DecodeKey(const QByteArray& raw) {
  QStringList parts;
  QString part;
  QByteArray pending;  // plain bytes, decoded together so UTF-8 stays whole
  const auto flush = [&] {
    part += DecodeText(pending);
    pending.clear();
  };
  for (qsizetype i = 0; i < raw.size(); ++i) {
    const char c = raw.at(i);
    if (c == '\\' || c == '/') {
      flush();
      if (!part.isEmpty()) parts << part;
      part.clear();
      continue;
    }
    if (c == '%' && i + 5 < raw.size() && raw.at(i + 1) == 'U') {
      int code = 0;
      bool ok = true;
      for (int k = 2; k < 6; ++k) {
        const int digit = HexDigit(raw.at(i + k));
        ok = ok && digit >= 0;
        code = code * 16 + digit;
      }
      if (ok) {
        flush();
        part += QChar(static_cast<char16_t>(code));
        i += 5;
        continue;
      }
    }
    if (c == '%' && i + 2 < raw.size() && HexDigit(raw.at(i + 1)) >= 0 && HexDigit(raw.at(i + 2)) >= 0) {
      flush();
      part += QChar(static_cast<char16_t>(HexDigit(raw.at(i + 1)) * 16 + HexDigit(raw.at(i + 2))));
      i += 2;
      continue;
    }
    pending += c;
  }
  flush();
  if (!part.isEmpty()) parts << part;
  return parts;
}

QByteArray EncodeKey(const QStringList& parts) {
  QByteArray out;
  for (qsizetype p = 0; p < parts.size(); ++p) {
    if (p > 0) out += '\\';
    for (const QChar ch : parts.at(p)) {
      const char16_t code = ch.unicode();
      const bool plain = (code >= 'a' && code <= 'z') || (code >= 'A' && code <= 'Z') ||
                         (code >= '0' && code <= '9') || code == '_' || code == '-' || code == '.';
      if (plain) {
        out += static_cast<char>(code);
      } else if (code <= 0xFF) {
        out += '%' + QByteArray::number(code, 16).toUpper().rightJustified(2, '0');
      } else {
        out += "%U" + QByteArray::number(code, 16).toUpper().rightJustified(4, '0');
      }
    }
  }
  return out;
}

QString DecodeValue(const QByteArray& raw) {
  QByteArray text = Trimmed(raw);
  if (text.startsWith("@@")) {
    text.remove(0, 1);
  } else if (text.startsWith("@ByteArray(") && text.endsWith(')')) {
    return DecodeText(text.mid(11, text.size() - 12));
  } else if (text.startsWith('@') && text.endsWith(')')) {
    return QString();  // a stored non-text value (@Variant(...), @Invalid())
  }
  QString out;
  QByteArray pending;
  const auto flush = [&] {
    out += DecodeText(pending);
    pending.clear();
  };
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char c = text.at(i);
    if (c == '"') continue;  // quotes only protect what they enclose
    if (c != '\\' || i + 1 == text.size()) {
      pending += c;
      continue;
    }
    flush();
    const char kind = text.at(++i);
    switch (kind) {
      case 'a': out += QChar('\a'); break;
      case 'b': out += QChar('\b'); break;
      case 'f': out += QChar('\f'); break;
      case 'n': out += QChar('\n'); break;
      case 'r': out += QChar('\r'); break;
      case 't': out += QChar('\t'); break;
      case 'v': out += QChar('\v'); break;
      case 'x': {
        char32_t code = 0;
        while (i + 1 < text.size() && HexDigit(text.at(i + 1)) >= 0) {
          code = (code * 16 + static_cast<char32_t>(HexDigit(text.at(++i)))) & 0xFFFF;
        }
        out += QChar(static_cast<char16_t>(code));
        break;
      }
      default:
        if (kind >= '0' && kind <= '7') {
          char32_t code = static_cast<char32_t>(kind - '0');
          while (i + 1 < text.size() && text.at(i + 1) >= '0' && text.at(i + 1) <= '7') {
            code = (code * 8 + static_cast<char32_t>(text.at(++i) - '0')) & 0xFFFF;
          }
          out += QChar(static_cast<char16_t>(code));
        } else {
          pending += kind;  // \\, \", \' and unknown escapes stand for the character
        }
    }
  }
  flush();
  return out;
}

QByteArray EncodeValue(const QString& value) {
  QByteArray out;
  if (value.startsWith(QLatin1Char('@'))) out += '@';
  bool needsQuotes = value.startsWith(QLatin1Char(' ')) || value.endsWith(QLatin1Char(' '));
  QString plain;  // written as UTF-8 in one go, so surrogate pairs stay whole
  const auto flush = [&] {
    out += plain.toUtf8();
    plain.clear();
  };
  // After a "\x" escape a hex digit would read as part of it.
  bool escapeHexDigit = false;
  for (const QChar ch : value) {
    const char16_t code = ch.unicode();
    if (code == ';' || code == ',' || code == '=') needsQuotes = true;
    const bool hexDigit = code < 0x80 && HexDigit(static_cast<char>(code)) >= 0;
    if (escapeHexDigit && hexDigit) {
      flush();
      out += "\\x" + QByteArray::number(code, 16);
      continue;
    }
    escapeHexDigit = false;
    const char* escape = code == '\n' ? "\\n" : code == '\r' ? "\\r" : code == '\t' ? "\\t"
                       : code == '"' ? "\\\"" : code == '\\' ? "\\\\" : nullptr;
    if (escape) {
      flush();
      out += escape;
    } else if (code < 0x20) {
      flush();
      out += "\\x" + QByteArray::number(code, 16);
      escapeHexDigit = true;
    } else {
      plain += ch;
    }
  }
  flush();
  return needsQuotes ? '"' + out + '"' : out;
}

}  // namespace settings_syntax

TSettingsDocument::TSettingsDocument(const QByteArray& content) { Parse(content); }

TSettingsDocument::TLine TSettingsDocument::ParseLine(const QByteArray& text, const QByteArray& end,
                                                      const QStringList& section) {
  TLine line;
  line.text = text;
  line.end = end;
  qsizetype first = 0;
  while (first < text.size() && IsBlank(text.at(first))) ++first;
  if (first == text.size()) return line;
  const char lead = text.at(first);
  if (lead == ';' || lead == '#') {
    line.kind = TKind::kComment;
    return line;
  }
  if (lead == '[') {
    const qsizetype close = text.indexOf(']', first + 1);
    if (close > 0) {
      const QByteArray name = Trimmed(text.mid(first + 1, close - first - 1));
      line.kind = TKind::kSection;
      if (name != kRootSection) line.path = settings_syntax::DecodeKey(name);
      return line;
    }
  }
  const qsizetype equals = text.indexOf('=');
  if (equals < 0) {
    line.kind = TKind::kOther;
    return line;
  }
  const QStringList key = settings_syntax::DecodeKey(Trimmed(text.left(equals)));
  if (key.isEmpty()) {
    line.kind = TKind::kOther;
    return line;
  }
  line.kind = TKind::kEntry;
  line.path = section + key;
  line.valueAt = equals + 1;
  while (line.valueAt < text.size() && IsBlank(text.at(line.valueAt))) ++line.valueAt;
  return line;
}

void TSettingsDocument::Parse(const QByteArray& content) {
  lines_.clear();
  QStringList section;
  qsizetype pos = 0;
  while (pos < content.size()) {
    qsizetype end = pos;
    while (end < content.size() && content.at(end) != '\n' && content.at(end) != '\r') ++end;
    qsizetype next = end;
    if (next < content.size()) {
      next += (content.at(next) == '\r' && next + 1 < content.size() && content.at(next + 1) == '\n') ? 2 : 1;
    }
    TLine line = ParseLine(content.mid(pos, end - pos), content.mid(end, next - end), section);
    if (line.kind == TKind::kSection) section = line.path;
    lines_.push_back(std::move(line));
    pos = next;
  }
}

void TSettingsDocument::Reparse() { Parse(Content()); }

QByteArray TSettingsDocument::Content() const {
  QByteArray out;
  for (const TLine& line : lines_) out += line.text + line.end;
  return out;
}

QByteArray TSettingsDocument::LineEnd() const {
  for (const TLine& line : lines_) {
    if (!line.end.isEmpty()) return line.end;
  }
  return QByteArrayLiteral("\n");
}

qsizetype TSettingsDocument::FindEntry(const QStringList& path) const {
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i].kind == TKind::kEntry && SamePath(lines_[i].path, path)) return static_cast<qsizetype>(i);
  }
  return -1;
}

std::optional<QString> TSettingsDocument::Value(const QString& keyPath, const QString& name) const {
  const qsizetype at = FindEntry(SplitPath(keyPath) << name);
  if (at < 0) return std::nullopt;
  const TLine& line = lines_[static_cast<size_t>(at)];
  return settings_syntax::DecodeValue(line.text.mid(line.valueAt));
}

bool TSettingsDocument::SetValue(const QString& keyPath, const QString& name, const QString& value) {
  const QStringList path = SplitPath(keyPath) << name;
  const QByteArray encoded = settings_syntax::EncodeValue(value);
  const qsizetype at = FindEntry(path);
  if (at >= 0) {
    TLine& line = lines_[static_cast<size_t>(at)];
    if (settings_syntax::DecodeValue(line.text.mid(line.valueAt)) == value) return false;
    line.text = line.text.left(line.valueAt) + encoded;
    return true;
  }
  InsertEntry(path, encoded);
  Reparse();
  return true;
}

void TSettingsDocument::InsertEntry(const QStringList& path, const QByteArray& encodedValue) {
  const QByteArray end = LineEnd();
  // The section that holds the longest part of the path (the first of equals).
  qsizetype section = -1;
  qsizetype depth = -1;
  qsizetype insertAfter = -1;
  qsizetype current = -1;
  for (size_t i = 0; i < lines_.size(); ++i) {
    const TLine& line = lines_[i];
    if (line.kind == TKind::kSection) {
      current = -1;
      const qsizetype size = line.path.size();
      const bool holds = size < path.size() && StartsWith(path, line.path) && (size > 0 || path.size() == 1);
      if (holds && size > depth) {
        section = static_cast<qsizetype>(i);
        depth = size;
        insertAfter = section;
        current = section;
      }
    } else if (line.kind == TKind::kEntry && current >= 0) {
      insertAfter = static_cast<qsizetype>(i);
    }
  }
  if (section >= 0) {
    TLine& previous = lines_[static_cast<size_t>(insertAfter)];
    if (previous.end.isEmpty()) previous.end = end;
    TLine entry;
    entry.text = settings_syntax::EncodeKey(path.mid(depth)) + '=' + encodedValue;
    entry.end = end;
    lines_.insert(lines_.begin() + insertAfter + 1, entry);
    return;
  }
  // A new section for the first part, as QSettings would write it.
  if (!lines_.empty()) {
    if (lines_.back().end.isEmpty()) lines_.back().end = end;
    if (lines_.back().kind != TKind::kBlank) lines_.push_back(TLine{QByteArray(), end, TKind::kBlank, {}, 0});
  }
  QByteArray header = path.size() == 1 ? QByteArray(kRootSection) : settings_syntax::EncodeKey({path.first()});
  if (header == kRootSection && path.size() > 1) header.prepend('%');
  lines_.push_back(TLine{'[' + header + ']', end, TKind::kSection, {}, 0});
  const QStringList key = path.size() == 1 ? path : path.mid(1);
  lines_.push_back(TLine{settings_syntax::EncodeKey(key) + '=' + encodedValue, end, TKind::kEntry, {}, 0});
}

QStringList TSettingsDocument::Subkeys(const QString& keyPath) const {
  const QStringList parent = SplitPath(keyPath);
  QStringList names;
  for (const TLine& line : lines_) {
    if (line.kind != TKind::kEntry || line.path.size() < parent.size() + 2 || !StartsWith(line.path, parent)) continue;
    const QString& child = line.path.at(parent.size());
    bool known = false;
    for (const QString& name : names) known = known || SamePart(name, child);
    if (!known) names << child;
  }
  return names;
}

bool TSettingsDocument::RemoveKey(const QString& keyPath) {
  const QStringList key = SplitPath(keyPath);
  if (key.isEmpty()) return false;  // never the whole file
  const size_t before = lines_.size();
  std::vector<TLine> kept;
  bool inRemovedSection = false;
  for (TLine& line : lines_) {
    if (line.kind == TKind::kSection) inRemovedSection = StartsWith(line.path, key);
    const bool below = line.kind == TKind::kEntry && line.path.size() > key.size() && StartsWith(line.path, key);
    if (!inRemovedSection && !below) kept.push_back(std::move(line));
  }
  lines_ = std::move(kept);
  return lines_.size() != before;
}

}  // namespace platform
