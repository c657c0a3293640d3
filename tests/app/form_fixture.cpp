#include "form_fixture.h"

#include <QAction>
#include <QListWidget>
#include <QMenu>

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
  form_->TrayHostWaitMs = 0;
  return *form_;
}

QList<QAction*> FormTest::LineItems() const {
  QList<QAction*> items;
  for (QAction* item : form_->Selectmodem1->actions()) {
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
  for (int i = 0; i < form_->lbModems->count(); ++i) names << form_->lbModems->item(i)->text();
  return names;
}
