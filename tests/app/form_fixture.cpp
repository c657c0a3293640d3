#include "form_fixture.h"

#include <QAction>
#include <QListWidget>
#include <QMenu>

#include <QImage>
#include <QMetaObject>

#include "calls/caller_desk.h"
#include "platform/settings_store.h"

FormTest::FormTest() { OfferLines({}); }

QString FormTest::AddModem(const QString& name, const QStringList& options) {
  const QString link = appDir_.filePath(name);
  modems_.push_back(std::make_unique<FakeModem>(link, options));
  EXPECT_TRUE(modems_.back()->Started()) << "fakemodem " << name.toStdString();
  return link;
}

void FormTest::OfferLines(const QStringList& links) {
  // The machine's own serial ports are listed too, before these; they never
  // answer like a modem, so they are never offered.
  Store("ExtraLines", links.join(';'));
}

void FormTest::Store(const QString& name, const QString& value) {
  platform::WriteSettingValue("Settings", name, value);
}

QString FormTest::Stored(const QString& name) const {
  return platform::ReadSettingValue("Settings", name);
}

TQuorvelForm& FormTest::MakeForm() {
  form_ = std::make_unique<TQuorvelForm>(appDir_.filePath("quorvel"));
  form_->SetTrayHostWait(0);
  return *form_;
}

TQuorvelForm& FormTest::CreateOnOneModem(const char* mode) {
  modem_ = AddModem("modem");
  OfferLines({modem_});
  if (mode) Store("Mode", mode);
  MakeForm().FormCreate();
  return *form_;
}

QList<QAction*> FormTest::LineItems() const {
  QList<QAction*> items;
  for (QAction* item : Ui().Selectmodem1->actions()) {
    if (item->isSeparator()) break;
    items << item;
  }
  return items;
}

std::vector<bool> FormTest::Checks() const {
  std::vector<bool> checks;
  for (QAction* item : LineItems()) checks.push_back(item->isChecked());
  return checks;
}

QStringList FormTest::MenuLines() const {
  QStringList names;
  for (QAction* item : LineItems()) names << item->text();
  return names;
}

QStringList FormTest::ListedLines() const {
  QStringList names;
  const QListWidget* list = Ui().lbModems;
  for (int i = 0; i < list->count(); ++i) names << list->item(i)->text();
  return names;
}

void FormTest::SaveDefaultPicture() {
  QImage picture(8, 8, QImage::Format_RGB32);
  picture.fill(Qt::green);
  ASSERT_TRUE(picture.save(appDir_.filePath("Default.BMP"), "BMP"));
}

void FormTest::SaveCallers(TQuorvelForm& form,
                           const std::vector<std::pair<QString, QString>>& callers) {
  SaveDefaultPicture();
  for (const auto& [name, number] : callers) ASSERT_TRUE(form.Desk()->Editor().SaveCaller(name, number));
}

void ClickTrayIcon(TQuorvelForm& form, QSystemTrayIcon::ActivationReason reason) {
  ASSERT_TRUE(QMetaObject::invokeMethod(&form, "SysTrayPopUp", Qt::DirectConnection,
                                        Q_ARG(QSystemTrayIcon::ActivationReason, reason)));
}
