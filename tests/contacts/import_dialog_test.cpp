#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

#include "contacts/import_dialog.h"
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
