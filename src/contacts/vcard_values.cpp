#include "contacts/vcard_values.h"

#include <QStringDecoder>

namespace contacts {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool DecodeUtf8Strictly(const QByteArray& bytes, QString& text) {
  QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
  text = decoder.decode(bytes);
  return !decoder.hasError();
}

}  // namespace

QByteArray DecodeQuotedPrintable(QByteArrayView text) {
  QByteArray bytes;
  bytes.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != '=') {
      bytes += c;
      continue;
    }
    if (i + 1 < text.size() && (text[i + 1] == '\r' || text[i + 1] == '\n')) {
      ++i;
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      continue;
    }
    const int high = i + 2 < text.size() ? HexValue(text[i + 1]) : -1;
    const int low = high >= 0 ? HexValue(text[i + 2]) : -1;
    if (low < 0) {
      bytes += c;
      continue;
    }
    bytes += static_cast<char>(high * 16 + low);
    i += 2;
  }
  return bytes;
}

bool DecodeBase64(QByteArrayView text, QByteArray& bytes) {
  QByteArray compact;
  compact.reserve(text.size());
  for (char c : text) {
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n') compact += c;
  }
  auto result = QByteArray::fromBase64Encoding(compact, QByteArray::AbortOnBase64DecodingErrors);
  if (!result) return false;
  bytes = std::move(*result);
  return true;
}

QString DecodeCharset(const QByteArray& bytes, const QByteArray& charset) {
  const QByteArray name = charset.trimmed();
  if (!name.isEmpty() && name.compare("UTF-8", Qt::CaseInsensitive) != 0 &&
      name.compare("UTF8", Qt::CaseInsensitive) != 0) {
    QStringDecoder decoder(name.constData(), QStringConverter::Flag::Stateless);
    if (decoder.isValid()) return decoder.decode(bytes);
  }
  QString text;
  if (DecodeUtf8Strictly(bytes, text)) return text;
  return QString::fromLatin1(bytes);
}

QString UnescapeText(const QString& text) {
  QString result;
  result.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] != QLatin1Char('\\') || i + 1 == text.size()) {
      result += text[i];
      continue;
    }
    const QChar next = text[++i];
    if (next == QLatin1Char('n') || next == QLatin1Char('N')) result += QLatin1Char('\n');
    else result += next;
  }
  return result;
}

QStringList SplitStructured(const QString& text) {
  QStringList parts;
  QString part;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == QLatin1Char('\\') && i + 1 < text.size()) {
      part += text[i];
      part += text[++i];
    } else if (text[i] == QLatin1Char(';')) {
      parts << UnescapeText(part);
      part.clear();
    } else {
      part += text[i];
    }
  }
  parts << UnescapeText(part);
  return parts;
}

bool DecodeDataUri(QByteArrayView uri, QByteArray& bytes) {
  const QByteArrayView text = uri.trimmed();
  if (text.size() < 5 || text.first(5).toByteArray().toLower() != "data:") return false;
  const qsizetype comma = text.indexOf(',');
  if (comma < 0) return false;
  const QByteArray header = text.sliced(5, comma - 5).toByteArray().toLower();
  const QByteArrayView content = text.sliced(comma + 1);
  if (header.endsWith(";base64")) return DecodeBase64(content, bytes);
  bytes = QByteArray::fromPercentEncoding(content.toByteArray());
  return true;
}

}  // namespace contacts
