#pragma once

#include <QDialog>

#include "contacts/contacts_import.h"

class QCheckBox;
class QDialogButtonBox;
class QLineEdit;
class QPushButton;

// Record > "&Import Contacts...": which vCard file, and whether callers of
// the same name are replaced. Edits a TImportRequest that the import reads.
class TImportContactsDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TImportContactsDialog(QWidget* parent = nullptr);

  contacts::TImportRequest Request() const;

  QLineEdit* FileName() const { return fileName_; }
  QCheckBox* ReplaceExisting() const { return replaceExisting_; }
  QDialogButtonBox* Buttons() const { return buttons_; }

 private:
  void Browse();
  void UpdateButtons();

  QLineEdit* fileName_;
  QPushButton* browse_;
  QCheckBox* replaceExisting_;
  QDialogButtonBox* buttons_;
};

// Runs the import with a progress window whose Cancel ends it early, as does
// the end of the program. The event loop keeps running between cards, so
// calls are still shown.
void RunContactsImport(contacts::TContactsImport& import, QWidget* parent);
