#include "contacts/contacts_import.h"

#include <QFile>
#include <QFileInfo>

#include "calls/caller_key.h"
#include "calls/caller_pictures.h"
#include "calls/caller_text.h"
#include "calls/calls_constants.h"
#include "contacts/contact_records.h"
#include "contacts/contacts_texts.h"
#include "platform/framework_texts.h"
#include "inidb/ini_dbase.h"
#include "inidb/name_fold.h"

namespace contacts {
namespace {

// Larger files are no address book export; reading them whole would only
// strain the memory.
constexpr qint64 kMaxFileBytes = 512LL * 1024 * 1024;

QString Problem(const QString& what, const char* reason) {
  return what + QStringLiteral(": ") + Tr(reason);
}

QString Problem(const QString& what, const QString& reason) {
  return what + QStringLiteral(": ") + reason;
}

QString CardLabel(const TVCard& card) {
  const QString name = CallerNameOf(card.Name);
  return name.isEmpty() ? Tr(kCardAtLine).arg(card.FirstLine) : name;
}

// Keys compare as the database compares them.
std::u32string FoldedKey(const QString& name) { return FoldName(calls::CallerKey(name).str()); }

// New callers are written to the file this many at a time.
constexpr std::size_t kAddBatch = 100;

QString StopText(const std::exception& error) {
  QString message = QString::fromUtf8(error.what());
  // As the general error report shows it.
  if (!message.isEmpty() && message.back().unicode() > '.') message += QLatin1Char('.');
  return Tr(kImportStopped).arg(message);
}

}  // namespace

QByteArray ReadContactsFile(const QString& fileName) {
  QFile file(fileName);
  const QString cannotOpen = platform::CannotOpenFileText(fileName);
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
    if (AddPending()) ended_ = true;
    return false;
  }
  ++summary_.CardsRead;
  if (entry->Malformed) {
    summary_.Skipped << Problem(CardLabel(entry->Card), entry->Reason);
  } else {
    Import(entry->Card);
  }
  if (!ended_ && pending_.size() >= kAddBatch) AddPending();
  return !ended_;
}

void TContactsImport::Cancel() {
  if (ended_) return;
  // What was read up to now is kept.
  if (AddPending()) Stop(Tr(kImportCancelled), 0);
}

void TContactsImport::Stop(const QString& message, int cardsLeftOut) {
  ended_ = true;
  pending_.clear();
  summary_.StopMessage = message;
  summary_.LeftOut = std::max(0, totalCards_ - summary_.CardsRead) + cardsLeftOut;
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
  if (!card.Photo.isEmpty()) photo = TCallerPictures::ReadImageData(card.Photo);
  if (photo.isNull() && (card.PhotoUnreadable || !card.Photo.isEmpty()))
    summary_.Notes << Problem(name, replaceExisting_ ? kPhotoNotReplaced : kPhotoUnreadable);

  for (const TContactRecord& record : records) {
    if (!StoreRecord(record.Name, record.Number, photo)) return;
  }
}

bool TContactsImport::StoreRecord(const QString& name, const std::string& number,
                                  const QImage& photo) {
  if (!calls::IsStorableCallerName(name)) {
    summary_.Skipped << Problem(name, calls::InvalidCallerNameShown());
    return true;
  }
  const std::u32string folded = FoldedKey(name);
  if (storedNames_.count(folded) != 0) {
    summary_.Skipped << Problem(name, kNameTwiceInFile);
    return true;
  }
  const int card = summary_.CardsRead;
  TPendingAdd add{name, MakeCallerRecord(calls::ToEightBit(name), number), QImage(), card};
  try {
    if (db_.KeyExists(calls::CallerKey(name))) {
      if (!replaceExisting_) {
        summary_.Skipped << Problem(name, kAlreadyStored);
        return true;
      }
      // As when saved by hand, the stored picture stays unless there is a new one.
      if (!photo.isNull()) pictures_.Store(name, photo);
      db_.UpdRecord(calls::CallerKey(name), add.Record);
      ++summary_.Replaced;
      cardsStored_.insert(card);
    } else {
      // A caller without a photo is shown with the default picture: no file of its own.
      add.Picture = photo;
      storedNames_.insert(folded);
      pending_.push_back(std::move(add));
      // At the limit the database refuses with its own message, and no
      // picture is left behind for a caller it did not take.
      if (db_.GetNumRecs() + static_cast<int>(pending_.size()) > MaxIniRecords) {
        std::vector<TPendingAdd> last{std::move(pending_.back())};
        pending_.pop_back();
        return AddPending() && AddOneByOne(last);
      }
    }
  } catch (const EPictureFile& error) {
    summary_.Skipped << Problem(name, QString::fromUtf8(error.what()));
  } catch (const ECodedException& error) {
    Stop(StopText(error), cardsStored_.contains(card) ? 0 : 1);
    return false;
  }
  return true;
}

bool TContactsImport::AddPending() {
  std::vector<TPendingAdd> adds;
  adds.swap(pending_);
  // The photos first: a caller whose photo cannot be stored is left out.
  std::vector<TPendingAdd> ready;
  std::vector<TCallerRecord> records;
  for (TPendingAdd& add : adds) {
    try {
      if (!add.Picture.isNull()) pictures_.Store(add.Name, add.Picture);
      records.push_back(add.Record);
      ready.push_back(std::move(add));
    } catch (const EPictureFile& error) {
      summary_.Skipped << Problem(add.Name, QString::fromUtf8(error.what()));
    }
  }
  if (ready.empty()) return true;
  try {
    db_.AddRecords(std::span<const TCallerRecord>(records));
  } catch (const ECodedException&) {
    // Nothing of the batch was stored: one by one, to learn which one fails.
    return AddOneByOne(ready);
  }
  summary_.Added += static_cast<int>(ready.size());
  for (const TPendingAdd& add : ready) cardsStored_.insert(add.Card);
  return true;
}

bool TContactsImport::AddOneByOne(std::vector<TPendingAdd>& adds) {
  for (std::size_t i = 0; i < adds.size(); ++i) {
    try {
      if (!adds[i].Picture.isNull()) pictures_.Store(adds[i].Name, adds[i].Picture);
      db_.AddRecord(adds[i].Record);
    } catch (const EPictureFile& error) {
      summary_.Skipped << Problem(adds[i].Name, QString::fromUtf8(error.what()));
      continue;
    } catch (const ECodedException& error) {
      QSet<int> cardsLeftOut;
      for (std::size_t j = i; j < adds.size(); ++j) {
        pictures_.Delete(adds[j].Name);
        if (!cardsStored_.contains(adds[j].Card)) cardsLeftOut.insert(adds[j].Card);
      }
      Stop(StopText(error), static_cast<int>(cardsLeftOut.size()));
      return false;
    }
    ++summary_.Added;
    cardsStored_.insert(adds[i].Card);
  }
  return true;
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
