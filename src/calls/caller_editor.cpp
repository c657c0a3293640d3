#include "calls/caller_editor.h"

#include "calls/caller_key.h"
#include "calls/caller_text.h"
#include "calls/calls_constants.h"
#include "inidb/ini_dbase.h"
#include "platform/message_dialogs.h"

using namespace calls;

namespace {

void ReportIfAny(const QString& report) {
  if (!report.isEmpty()) throw EPictureFile(ToEightBit(report));
}


}  // namespace

TCallerEditor::TCallerEditor(TIniDBase& db, TCallerView& view, TCallerPictures& pictures)
    : db_(db), view_(view), pictures_(pictures) {}

QString TCallerEditor::ShowRecord(const QString& name) {
  const TDBKeyStr key = CallerKey(name);
  if (!db_.KeyExists(key)) return {};
  TCallerRecord record{};
  db_.GetRecord(key, record);
  QString report;
  view_.SetPicture(pictures_.ShownFor(name, report));
  view_.SetCallerNameText(FromEightBit(record.CallerName.Get()));
  view_.SetCallerIDText(FromEightBit(record.CallerID.Get()));
  return report;
}

void TCallerEditor::DisplayRecord(const QString& name) { ReportIfAny(ShowRecord(name)); }

QString TCallerEditor::ShowUnknownCaller(const QString& name, const QString& number) {
  QString report;
  view_.SetPicture(pictures_.ShownDefault(report));
  view_.SetCallerNameText(name);
  view_.SetCallerIDText(number);
  view_.SetSaveButtonVisible(true);
  return report;
}

void TCallerEditor::SaveUnknownCaller(const QString& name, const QString& number) {
  const QString report = ShowUnknownCaller(name, number);
  bSaveToDatabaseClick();
  ReportIfAny(report);
}

void TCallerEditor::NewClick() {
  const QImage picture = pictures_.LoadDefault();
  view_.SetPicture(picture);
  view_.SetCallerNameText(Tr(kNewNamePlaceholder));
  view_.SetCallerIDText(Tr(kNewNumberPlaceholder));
}

void TCallerEditor::AddCurrent1Click() {
  StoreCaller(view_.CallerNameText(), view_.CallerIDText(), /*fromView=*/true);
}

bool TCallerEditor::SaveCaller(const QString& name, const QString& number) {
  return StoreCaller(name, number, /*fromView=*/false);
}

bool TCallerEditor::StoreCaller(const QString& typedName, const QString& typedNumber,
                                bool fromView) {
  // Cut once, before anything is decided: the key, the record and the
  // picture file all carry the same name.
  const QString name = StoredCallerText(typedName);
  const QString number = StoredCallerText(typedNumber);
  if (number.isEmpty()) {
    platform::ShowErrorDialog(Tr(kInvalidCallerID));
    return false;
  }
  if (name.startsWith(QLatin1Char(kPlaceholderStart)) || !IsStorableCallerName(name)) {
    platform::ShowErrorDialog(InvalidCallerNameShown());
    return false;
  }
  if (!IsStorableCallerID(number)) {
    platform::ShowErrorDialog(Tr(kInvalidCallerID));
    return false;
  }
  if (fromView) view_.SetCallerNameText(name);
  const TCallerRecord record = MakeCallerRecord(ToEightBit(name), ToEightBit(number));
  const TDBKeyStr key = CallerKey(name);
  if (db_.KeyExists(key)) {
    db_.UpdRecord(key, record);  // an existing caller keeps its picture
  } else {
    db_.AddRecord(record);
    // A caller stored from elsewhere has no picture of its own yet: it is
    // shown with the default picture until one is chosen.
    if (fromView) pictures_.Save(name, view_.Picture());
  }
  ReloadCallerNames();
  return true;
}

void TCallerEditor::Delete1Click() {
  const QString name = view_.CallerNameText();
  if (!platform::ShowMessageBox(Tr(kDeleteEntryFor).arg(name), Tr(kConfirmCaption),
                                platform::MessageIcon::Warning, /*withCancel=*/true)) {
    return;
  }
  const TDBKeyStr key = CallerKey(name);
  if (db_.KeyExists(key)) {
    db_.DelRecord(key);
    pictures_.Delete(name);
    ReloadCallerNames();
  }
  DisplayFirstRecord();
}

void TCallerEditor::ChoosePicture1Click() {
  const QString name = view_.CallerNameText();
  if (!db_.KeyExists(CallerKey(name))) return;
  const QString file = view_.ChoosePictureFile();
  if (file.isEmpty()) return;
  view_.SetPicture(pictures_.Store(name, TCallerPictures::ReadImageFile(file)));
}

bool TCallerEditor::CanChoosePicture() const {
  return view_.CallerNameEntries().contains(view_.CallerNameText(), Qt::CaseInsensitive);
}

void TCallerEditor::DisplayFirstRecord() {
  const QStringList entries = view_.CallerNameEntries();
  DisplayRecord(entries.isEmpty() ? QString() : entries.first());
}

void TCallerEditor::cbCallerNameChange() {
  const QString name = view_.CallerNameText();
  if (!view_.CallerNameEntries().contains(name, Qt::CaseInsensitive)) return;
  const QString report = ShowRecord(name);
  view_.SetSaveButtonVisible(false);
  ReportIfAny(report);
}

void TCallerEditor::bSaveToDatabaseClick() {
  AddCurrent1Click();
  view_.SetSaveButtonVisible(false);
}

void TCallerEditor::ReloadCallerNames() {
  shownKeys_ = db_.GetRecordList().Strings();
  QStringList entries;
  entries.reserve(static_cast<qsizetype>(shownKeys_.size()));
  for (const std::string& key : shownKeys_) entries << FromEightBit(key);
  view_.SetCallerNameEntries(entries);
}

void TCallerEditor::RefreshCallerNames() {
  if (db_.GetRecordList().Strings() != shownKeys_) ReloadCallerNames();
}
