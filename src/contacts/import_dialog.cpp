#include "contacts/import_dialog.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <exception>

using contacts::TImportRequest;

namespace {

constexpr char kImportCaption[] = QT_TRANSLATE_NOOP("TImportContactsDialog", "Import Contacts");
constexpr char kFilePrompt[] = QT_TRANSLATE_NOOP("TImportContactsDialog", "&Contacts file (vCard):");
constexpr char kBrowseButton[] = QT_TRANSLATE_NOOP("TImportContactsDialog", "&Browse...");
constexpr char kReplaceExisting[] = QT_TRANSLATE_NOOP("TImportContactsDialog", "&Replace existing");
constexpr char kFileFilter[] = QT_TRANSLATE_NOOP("TImportContactsDialog", "vCard files (*.vcf *.vcard);;All files (*)");
constexpr char kImporting[] = QT_TRANSLATE_NOOP("TImportContactsDialog", "Importing contacts...");
constexpr char kCancel[] = QT_TRANSLATE_NOOP("TImportContactsDialog", "Cancel");

QString Tr(const char* text) { return QCoreApplication::translate("TImportContactsDialog", text); }

// The event loop gets a turn at least this often.
constexpr qint64 kSliceMs = 30;
constexpr int kProgressSteps = 1000;

}  // namespace

TImportContactsDialog::TImportContactsDialog(QWidget* parent)
    : QDialog(parent),
      fileName_(new QLineEdit(this)),
      browse_(new QPushButton(Tr(kBrowseButton), this)),
      replaceExisting_(new QCheckBox(Tr(kReplaceExisting), this)),
      buttons_(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this)) {
  setWindowTitle(Tr(kImportCaption));
  auto* prompt = new QLabel(Tr(kFilePrompt), this);
  prompt->setBuddy(fileName_);
  fileName_->setMinimumWidth(260);

  auto* layout = new QGridLayout(this);
  layout->addWidget(prompt, 0, 0, 1, 2);
  layout->addWidget(fileName_, 1, 0);
  layout->addWidget(browse_, 1, 1);
  layout->addWidget(replaceExisting_, 2, 0, 1, 2);
  layout->addWidget(buttons_, 3, 0, 1, 2);

  connect(browse_, &QPushButton::clicked, this, &TImportContactsDialog::Browse);
  connect(fileName_, &QLineEdit::textChanged, this, &TImportContactsDialog::UpdateButtons);
  connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
  UpdateButtons();
}

TImportRequest TImportContactsDialog::Request() const {
  return TImportRequest{fileName_->text().trimmed(), replaceExisting_->isChecked()};
}

void TImportContactsDialog::Browse() {
  const QString file = QFileDialog::getOpenFileName(this, Tr(kImportCaption),
                                                    fileName_->text(), Tr(kFileFilter));
  if (!file.isEmpty()) fileName_->setText(file);
}

void TImportContactsDialog::UpdateButtons() {
  buttons_->button(QDialogButtonBox::Ok)->setEnabled(!fileName_->text().trimmed().isEmpty());
}

void RunContactsImport(contacts::TContactsImport& import, QWidget* parent) {
  QProgressDialog progress(Tr(kImporting), Tr(kCancel), 0,
                           kProgressSteps, parent);
  progress.setWindowTitle(Tr(kImportCaption));
  progress.setWindowModality(Qt::ApplicationModal);
  progress.setAutoReset(false);

  // The cards are read in slices from the event loop, so calls and the end
  // of the session are served meanwhile.
  QEventLoop loop;
  bool finished = false;
  std::exception_ptr failure;
  QTimer slices;
  QObject::connect(&slices, &QTimer::timeout, &loop, [&] {
    try {
      QElapsedTimer slice;
      slice.start();
      while (!finished && slice.elapsed() < kSliceMs) finished = !import.Step();
      if (finished) loop.quit();
      else progress.setValue(static_cast<int>(import.Progress() * kProgressSteps));
    } catch (...) {
      failure = std::current_exception();
      loop.quit();
    }
  });
  QObject::connect(&progress, &QProgressDialog::canceled, &loop, &QEventLoop::quit);
  slices.start(0);
  loop.exec();
  slices.stop();
  if (failure) std::rethrow_exception(failure);
  // Cancelled, or the program is ending: what was read so far is kept.
  if (!finished) import.Cancel();
}
