#pragma once

#include <QString>
#include <QStringList>
#include <string>
#include <vector>

namespace numbers {
class TNumberEquivalence;
}

namespace contacts {

// One caller a contact becomes: a name of at most 20 bytes and the number
// in its stored form.
struct TContactRecord {
  QString Name;
  std::string Number;
};

// The caller name of a contact's name: line breaks and runs of blanks
// become one blank; characters the database file or a picture's file name
// cannot hold ("/", "=", "[", "]", control characters) become "-" or go;
// "(" and ";" at the start go. Empty when nothing is left.
QString CallerNameOf(const QString& contactName);

// The name of a contact's n-th number (n from 1): the name itself, then the
// name followed by " 2", " 3", ...; cut to the record's 20 bytes without
// splitting a character, the number at the end kept.
QString NumberedName(const QString& callerName, int n);

// The number as stored: a number of the home region whose national form
// has ten digits becomes ddd-ddd-dddd, as a call from it is shown; any
// other stays as written, cut to 20 bytes. Empty for a text without digits.
std::string StoredNumberOf(const QString& written, const numbers::TNumberEquivalence& home);

// One record per distinct stored number, in the card's order; the first
// takes the caller name, the others the name with " 2", " 3", ...
std::vector<TContactRecord> RecordsOf(const QString& callerName, const QStringList& numbers,
                                      const numbers::TNumberEquivalence& home);

}  // namespace contacts
