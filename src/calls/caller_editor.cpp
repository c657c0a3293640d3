#include "calls/caller_editor.h"

#include "calls/caller_key.h"
#include "calls/caller_text.h"
#include "calls/calls_constants.h"
#include "inidb/ini_dbase.h"
#include "platform/message_dialogs.h"

using namespace calls;

TCallerEditor::TCallerEditor(TIniDBase& db, TCallerView& view, const TCallerPictures& pictures)
    : db_(db), view_(view), pictures_(pictures) {}

void TCallerEditor::DisplayRecord(const QString& name) {
  const TDBKeyStr key = CallerKey(name);
  if (!db_.KeyExists(key)) return;
  TCallerRecord record{};
  db_.GetRecord(key, record);
  const QImage picture = pictures_.Load(name);
  view_.SetPicture(picture);
  view_.SetCallerNameText(FromEightBit(record.CallerName.Get()));
  view_.SetCallerIDText(FromEightBit(record.CallerID.Get()));
}

void TCallerEditor::NewClick() {
  const QImage picture = pictures_.LoadDefault();
  view_.SetPicture(picture);
  view_.SetCallerNameText(QString::fromLatin1(kNewNamePlaceholder));
  view_.SetCallerIDText(QString::fromLatin1(kNewNumberPlaceholder));
}

void TCallerEditor::AddCurrent1Click() {
  StoreCaller(view_.CallerNameText(), view_.CallerIDText(), [this] { return view_.Picture(); });
}

bool TCallerEditor::SaveCaller(const QString& name, const QString& number) {
  return StoreCaller(name, number, [this] { return pictures_.LoadDefault(); });
}

bool TCallerEditor::StoreCaller(const QString& name, const QString& number,
                                const std::function<QImage()>& newCallerPicture) {
  if (number.isEmpty()) {
    platform::ShowErrorDialog(QString::fromLatin1(kInvalidCallerID));
    return false;
  }
  if (name.startsWith(QLatin1Char(kPlaceholderStart)) || !IsStorableCallerName(name)) {
    platform::ShowErrorDialog(QString::fromLatin1(kInvalidCallerName));
    return false;
  }
  if (!IsStorableCallerID(number)) {
    platform::ShowErrorDialog(QString::fromLatin1(kInvalidCallerID));
    return false;
  }
  const TCallerRecord record = MakeCallerRecord(ToEightBit(name), ToEightBit(number));
  const TDBKeyStr key = CallerKey(name);
  if (db_.KeyExists(key)) {
    db_.UpdRecord(key, record);  // an existing caller keeps its picture
  } else {
    db_.AddRecord(record);
    pictures_.Save(name, newCallerPicture());
  }
  ReloadCallerNames();
  return true;
}

void TCallerEditor::Delete1Click() {
  const QString name = view_.CallerNameText();
  if (!platform::ShowMessageBox(QString::fromLatin1(kDeleteEntryFor) + name,
                                QString::fromLatin1(kConfirmCaption),
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

void TCallerEditor::DisplayFirstRecord() {
  const QStringList entries = view_.CallerNameEntries();
  DisplayRecord(entries.isEmpty() ? QString() : entries.first());
}

void TCallerEditor::cbCallerNameChange() {
  const QString name = view_.CallerNameText();
  if (!view_.CallerNameEntries().contains(name, Qt::CaseInsensitive)) return;
  DisplayRecord(name);
  view_.SetSaveButtonVisible(false);
}

void TCallerEditor::bSaveToDatabaseClick() {
  AddCurrent1Click();
  view_.SetSaveButtonVisible(false);
}

void TCallerEditor::ReloadCallerNames() {
  QStringList entries;
  for (const std::string& key : db_.GetRecordList()) entries << FromEightBit(key);
  view_.SetCallerNameEntries(entries);
}
