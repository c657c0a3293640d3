#pragma once

#include <QByteArray>
#include <QStringList>

// One record of RFC 4180 in UTF-8: fields separated by commas and the
// record ended by CRLF; a field that holds a comma, a double quote, CR or LF
// is put in double quotes, with its double quotes doubled.
QByteArray CsvRecord(const QStringList& fields);
