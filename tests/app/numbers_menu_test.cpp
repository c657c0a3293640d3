// File > "&Region..." and Record > "&Import Contacts..." on the main window.
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QTimer>

#include "contacts/import_dialog.h"
#include "form_fixture.h"
#include "message_box_answerer.h"
#include "numbers/region_dialog.h"

namespace {

// Runs `answer` on the modal dialog of type T as soon as it is shown.
template <class T>
void OnDialog(std::function<void(T&)> answer) {
  QTimer::singleShot(0, [answer] {
    if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) answer(*dialog);
  });
}

TEST_F(FormTest, RegionIsChosenAndContactsImportedFromTheMenus) {
  OfferLines({AddModem("modem")});
  Store("Mode", "0");
  Store("Region", "de");
  QFile::copy(QStringLiteral(QUORVEL_E2E_BIN_DIR "/Default.BMP"), appDir_.filePath("Default.BMP"));
  TQuorvelForm& form = MakeForm();
  const FormParts ui(form);
  form.FormCreate();

  std::string shownRegion;
  OnDialog<TRegionDialog>([&](TRegionDialog& dialog) {
    shownRegion = dialog.Region();
    dialog.Regions()->setCurrentIndex(dialog.Regions()->findData("US"));
    dialog.accept();
  });
  ui.Region1->trigger();
  EXPECT_EQ(shownRegion, "DE");
  EXPECT_EQ(Stored("Region"), "US");

  MessageBoxAnswerer answerer;
  OnDialog<TImportContactsDialog>([](TImportContactsDialog& dialog) {
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
