// File > "&Region..." and Record > "&Import Contacts..." on the main window.
#include <QComboBox>
#include <QLineEdit>

#include "contacts/import_dialog.h"
#include "form_fixture.h"
#include "message_box_answerer.h"
#include "modal_dialog.h"
#include "numbers/region_dialog.h"

namespace {

TEST_F(FormTest, RegionIsChosenAndContactsImportedFromTheMenus) {
  Store("Region", "de");
  SaveDefaultPicture();
  TQuorvelForm& form = CreateOnOneModem("0");
  const FormParts ui(form);

  std::string shownRegion;
  WhenModalShows<TRegionDialog>([&](TRegionDialog& dialog) {
    shownRegion = dialog.Region();
    dialog.Regions()->setCurrentIndex(dialog.Regions()->findData("US"));
    dialog.accept();
  });
  ui.Region1->trigger();
  EXPECT_EQ(shownRegion, "DE");
  EXPECT_EQ(Stored("Region"), "US");

  MessageBoxAnswerer answerer;
  WhenModalShows<TImportContactsDialog>([](TImportContactsDialog& dialog) {
    dialog.FileName()->setText(QStringLiteral(QUORVEL_CONTACTS_DATA_DIR "/android-2.1.vcf"));
    dialog.accept();
  });
  ui.ImportContacts1->trigger();
  ASSERT_EQ(answerer.seen().size(), 1u);
  EXPECT_EQ(answerer.seen()[0].caption, "Import Contacts");
  EXPECT_TRUE(answerer.seen()[0].text.startsWith("Added: 6\n"))
      << answerer.seen()[0].text.toStdString();
  // The name box lists the new callers.
  EXPECT_GE(ui.cbCallerName->findText("Pizza Napoli"), 0);
  EXPECT_EQ(form.Database().GetNumRecs(), 6);
  EXPECT_TRUE(ui.ImportContacts1->isVisible());
}

}  // namespace
