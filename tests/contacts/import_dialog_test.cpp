#include <QCheckBox>
#include <QCoreApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

#include "application_exit.h"
#include "contacts/import_dialog.h"
#include "contacts_fixture.h"
#include "numbers/region_dialog.h"

namespace {

TEST(RegionDialog, ShowsTheRegionAndGivesTheChoice) {
  TRegionDialog dialog("DE");
  EXPECT_EQ(dialog.Region(), "DE");
  EXPECT_EQ(dialog.Regions()->currentText(), "DE  Germany");
  dialog.Regions()->setCurrentIndex(dialog.Regions()->findData("CH"));
  EXPECT_EQ(dialog.Region(), "CH");
}

TEST(ImportContactsDialog, NeedsAFileAndGivesTheChoices) {
  TImportContactsDialog dialog;
  QPushButton* ok = dialog.Buttons()->button(QDialogButtonBox::Ok);
  EXPECT_FALSE(ok->isEnabled());
  dialog.FileName()->setText("  ");
  EXPECT_FALSE(ok->isEnabled());
  dialog.FileName()->setText(" /home/me/contacts.vcf ");
  EXPECT_TRUE(ok->isEnabled());
  EXPECT_FALSE(dialog.Request().ReplaceExisting);
  dialog.ReplaceExisting()->setChecked(true);
  const contacts::TImportRequest request = dialog.Request();
  EXPECT_EQ(request.FileName, "/home/me/contacts.vcf");
  EXPECT_TRUE(request.ReplaceExisting);
}

}  // namespace

namespace {

using ImportRunTest = ContactsFixture;

TEST_F(ImportRunTest, RunsToTheEndOrStopsWhenTheProgramEnds) {
  const QByteArray data = DataBytes("apple-3.0.vcf");
  contacts::TContactsImport whole(db, pictures, "US", false, data);
  RunContactsImport(whole, nullptr);
  EXPECT_EQ(whole.Summary().Added, 4);
  EXPECT_TRUE(whole.Summary().StopMessage.isEmpty());

  contacts::TContactsImport ending(db, pictures, "US", true, data);
  QCoreApplication::exit(0);
  RunContactsImport(ending, nullptr);
  RecoverFromApplicationExit();
  EXPECT_EQ(ending.Summary().Replaced, 0);
  EXPECT_EQ(ending.Summary().StopMessage, "The import was cancelled.");
  EXPECT_EQ(ending.Summary().LeftOut, 4);
}

}  // namespace
