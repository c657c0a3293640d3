#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

#include "contacts/vcard_lines.h"

namespace contacts {

// What a caller list needs of one contact card.
struct TVCard {
  int FirstLine = 0;     // the line of its BEGIN:VCARD
  QString Name;          // FN, else the parts of N in reading order; "" when neither
  QStringList Numbers;   // the TEL values in file order, as written
  QByteArray Photo;      // the picture's bytes (JPEG, PNG, GIF, ...); empty when none
  bool PhotoUnreadable = false;  // a PHOTO was there but its data could not be decoded
};

// A card that is read, or one that cannot be (`Reason` says why).
struct TVCardEntry {
  TVCard Card;
  bool Malformed = false;
  QString Reason;
};

// Reads the cards of a vCard 2.1, 3.0 or 4.0 file one at a time, as Android,
// Apple and contacts servers write them: quoted-printable and base64 values,
// the CHARSET parameter, folded lines, CR LF or LF line ends, data: URIs for
// photos. A malformed card is reported and reading goes on after it; text
// outside cards is ignored.
class TVCardReader {
 public:
  explicit TVCardReader(QByteArray data);

  // The next card; nothing at the end of the file.
  std::optional<TVCardEntry> Next();
  // Bytes consumed so far, for progress.
  qsizetype Position() const { return lines_.Position(); }

 private:
  TContentLineReader lines_;
  // A BEGIN:VCARD met inside a card that lacked its END starts the next one.
  std::optional<int> pendingBegin_;
};

// How many cards the file holds at most (its BEGIN:VCARD lines).
int CountCards(const QByteArray& data);

}  // namespace contacts
