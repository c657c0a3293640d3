#include "calllog/csv_writer.h"

namespace {

bool NeedsQuotes(const QString& field) {
  for (const QChar c : field) {
    if (c == u',' || c == u'"' || c == u'\r' || c == u'\n') return true;
  }
  return false;
}

}  // namespace

QByteArray CsvRecord(const QStringList& fields) {
  QByteArray record;
  for (qsizetype i = 0; i < fields.size(); ++i) {
    if (i > 0) record += ',';
    const QString& field = fields.at(i);
    if (NeedsQuotes(field)) {
      QString quoted = field;
      quoted.replace(u'"', QStringLiteral("\"\""));
      record += '"' + quoted.toUtf8() + '"';
    } else {
      record += field.toUtf8();
    }
  }
  return record + "\r\n";
}
