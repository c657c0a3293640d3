#include "contacts/contacts_import.h"

#include <QFile>
#include <QFileInfo>

#include "calls/caller_key.h"
#include "calls/caller_pictures.h"
#include "calls/caller_text.h"
#include "calls/calls_constants.h"
#include "contacts/contact_records.h"
#include "contacts/contacts_texts.h"
#include "inidb/ini_dbase.h"

namespace contacts {
namespace {

// Larger files are no address book export; reading them whole would only
// strain the memory.
constexpr qint64 kMaxFileBytes = 512LL * 1024 * 1024;

QString Problem(const QString& what, const char* reason) {
  return what + QStringLiteral(": ") + QString::fromUtf8(reason);
}

QString Problem(const QString& what, const QString& reason) {
  return what + QStringLiteral(": ") + reason;
}

QString CardLabel(const TVCard& card) {
  const QString name = CallerNameOf(card.Name);
  return name.isEmpty() ? QString::fromUtf8(kCardAtLine).arg(card.FirstLine) : name;
}

// Keys compare as the database compares them: ASCII letters in either case.
QByteArray FoldedKey(const QString& name) {
  QByteArray key = QByteArray::fromStdString(calls::CallerKey(name).str());
  for (char& c : key) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return key;
}

QString WithFullStop(const QString& message) {
  if (!message.isEmpty() && message.back().unicode() > '.') return message + QLatin1Char('.');
  return message;
}

}  // namespace

QByteArray ReadContactsFile(const QString& fileName) {
  QFile file(fileName);
  const QString cannotOpen = QString::fromUtf8(calls::kCannotOpenFile).arg(fileName);
  if (!QFileInfo(fileName).isFile() || QFileInfo(fileName).size() > kMaxFileBytes ||
      !file.open(QIODevice::ReadOnly))
    throw EContactsFile(calls::ToEightBit(cannotOpen));
  QByteArray data = file.readAll();
  if (file.error() != QFileDevice::NoError) throw EContactsFile(calls::ToEightBit(cannotOpen));
  return data;
}

TContactsImport::TContactsImport(TIniDBase& db, const TCallerPictures& pictures,
                                 const std::string& homeRegion, bool replaceExisting,
                                 QByteArray vcardData)
    : db_(db),
      pictures_(pictures),
      home_(homeRegion),
      replaceExisting_(replaceExisting),
      size_(vcardData.size()),
      reader_(vcardData),
      totalCards_(CountCards(vcardData)) {}

double TContactsImport::Progress() const {
  if (ended_ || size_ == 0) return 1.0;
  return static_cast<double>(reader_.Position()) / static_cast<double>(size_);
}

bool TContactsImport::Step() {
  if (ended_) return false;
  std::optional<TVCardEntry> entry = reader_.Next();
  if (!entry) {
    ended_ = true;
    return false;
  }
  ++summary_.CardsRead;
  if (entry->Malformed) {
    summary_.Skipped << Problem(CardLabel(entry->Card), entry->Reason);
  } else {
    Import(entry->Card);
  }
  return !ended_;
}

void TContactsImport::Cancel() {
  if (ended_) return;
  Stop(QString::fromUtf8(kImportCancelled), false);
}

void TContactsImport::Stop(const QString& message, bool currentCardLeftOut) {
  ended_ = true;
  summary_.StopMessage = message;
  // Cards of the file not read yet, and the one that could not be stored.
  summary_.LeftOut = std::max(0, totalCards_ - summary_.CardsRead) + (currentCardLeftOut ? 1 : 0);
}

void TContactsImport::Import(const TVCard& card) {
  const QString name = CallerNameOf(card.Name);
  if (name.isEmpty()) {
    summary_.Skipped << Problem(CardLabel(card), kNoName);
    return;
  }
  const std::vector<TContactRecord> records = RecordsOf(name, card.Numbers, home_);
  if (records.empty()) {
    summary_.Skipped << Problem(name, kNoNumber);
    return;
  }
  QImage photo;
  if (!card.Photo.isEmpty()) photo = calls::ConvertedPicture(card.Photo);
  if (photo.isNull() && (card.PhotoUnreadable || !card.Photo.isEmpty()))
    summary_.Notes << Problem(name, replaceExisting_ ? kPhotoNotReplaced : kPhotoUnreadable);

  storedFromCard_ = false;
  for (const TContactRecord& record : records) {
    if (!StoreRecord(record.Name, record.Number, photo)) return;
  }
}

bool TContactsImport::StoreRecord(const QString& name, const std::string& number,
                                  const QImage& photo) {
  const QByteArray folded = FoldedKey(name);
  if (storedNames_.contains(folded)) {
    summary_.Skipped << Problem(name, kNameTwiceInFile);
    return true;
  }
  const TCallerRecord record = MakeCallerRecord(calls::ToEightBit(name), number);
  try {
    if (db_.KeyExists(calls::CallerKey(name))) {
      if (!replaceExisting_) {
        summary_.Skipped << Problem(name, kAlreadyStored);
        return true;
      }
      // As when saved by hand, the stored picture stays unless there is a new one.
      if (!photo.isNull()) pictures_.Save(name, photo);
      db_.UpdRecord(calls::CallerKey(name), record);
      ++summary_.Replaced;
    } else {
      AddWithPicture(name, number, photo.isNull() ? DefaultPicture() : photo);
      ++summary_.Added;
    }
  } catch (const EPictureFile& error) {
    summary_.Skipped << Problem(name, QString::fromUtf8(error.what()));
    return true;
  } catch (const ECodedException& error) {
    Stop(QString::fromUtf8(kImportStopped).arg(WithFullStop(QString::fromUtf8(error.what()))),
         !storedFromCard_);
    return false;
  }
  storedFromCard_ = true;
  storedNames_.insert(folded);
  return true;
}

void TContactsImport::AddWithPicture(const QString& name, const std::string& number,
                                     const QImage& picture) {
  const TCallerRecord record = MakeCallerRecord(calls::ToEightBit(name), number);
  if (db_.GetNumRecs() >= MaxIniRecords) {
    // A full database refuses with its own message before a picture is written.
    db_.AddRecord(record);
    pictures_.Save(name, picture);
    return;
  }
  pictures_.Save(name, picture);
  try {
    db_.AddRecord(record);
  } catch (...) {
    pictures_.Delete(name);
    throw;
  }
}

const QImage& TContactsImport::DefaultPicture() {
  if (!defaultPicture_) defaultPicture_ = pictures_.LoadDefault();
  return *defaultPicture_;
}

TImportSummary ImportContacts(TIniDBase& db, const TCallerPictures& pictures,
                              const std::string& homeRegion, const TImportRequest& request) {
  TContactsImport import(db, pictures, homeRegion, request.ReplaceExisting,
                         ReadContactsFile(request.FileName));
  while (import.Step()) {
  }
  return import.Summary();
}

}  // namespace contacts
