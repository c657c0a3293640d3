#pragma once

#include <QByteArray>
#include <QImage>
#include <QSet>
#include <QString>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "contacts/import_summary.h"
#include "contacts/vcard_reader.h"
#include "inidb/caller_record.h"
#include "numbers/number_equivalence.h"

class TIniDBase;
class TCallerPictures;

namespace contacts {

// What Record > "Import Contacts..." asks for; the dialog edits it.
struct TImportRequest {
  QString FileName;
  bool ReplaceExisting = false;
};

// A contacts file that cannot be read; the message names the file.
class EContactsFile : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The bytes of the contacts file. Throws EContactsFile when it cannot be
// read or is too large to be a contacts file.
QByteArray ReadContactsFile(const QString& fileName);

// Adds the contacts of a vCard file to the caller database, one card per
// step, so a window can keep answering between steps. Each of a contact's
// numbers becomes a caller with the contact's picture (or the default one)
// beside the program, as if entered by hand. A name already stored is
// skipped unless existing callers are to be replaced. A database failure
// (the 999-caller limit above all) ends the import with the database's own
// message. New callers are added in batches, each one change of the file.
class TContactsImport {
 public:
  // `homeRegion` reads numbers written without a country code.
  TContactsImport(TIniDBase& db, const TCallerPictures& pictures, const std::string& homeRegion,
                  bool replaceExisting, QByteArray vcardData);

  // Imports the next card; false once the file is done or the import ended.
  bool Step();
  // Ends the import before the next card, as the user asked.
  void Cancel();
  // Part of the file done, from 0 to 1.
  double Progress() const;

  const TImportSummary& Summary() const { return summary_; }

 private:
  // A caller waiting to be added with the next batch.
  struct TPendingAdd {
    QString Name;
    TCallerRecord Record;
    QImage Picture;
    int Card = 0;  // its card's position in the file
  };

  void Import(const TVCard& card);
  // False when the import has to end.
  bool StoreRecord(const QString& name, const std::string& number, const QImage& photo);
  // Adds the waiting callers, their pictures first; false when the import
  // has to end.
  bool AddPending();
  bool AddOneByOne(std::vector<TPendingAdd>& adds);
  void Stop(const QString& message, int cardsLeftOut);

  TIniDBase& db_;
  const TCallerPictures& pictures_;
  numbers::TNumberEquivalence home_;
  bool replaceExisting_;
  qsizetype size_;
  TVCardReader reader_;
  int totalCards_;
  bool ended_ = false;
  // Names stored or waiting to be, in the database's key case folding.
  std::set<std::u32string> storedNames_;
  // Cards with at least one caller stored or waiting.
  QSet<int> cardsStored_;
  std::vector<TPendingAdd> pending_;
  TImportSummary summary_;
};

// Reads and imports the whole file at once (the command-line tool).
TImportSummary ImportContacts(TIniDBase& db, const TCallerPictures& pictures,
                              const std::string& homeRegion, const TImportRequest& request);

}  // namespace contacts
