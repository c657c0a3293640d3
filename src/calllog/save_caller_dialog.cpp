#include "calllog/save_caller_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>

TSaveCallerDialog::TSaveCallerDialog(const TCallerDraft& draft, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(tr("Save caller"));
  auto* layout = new QFormLayout(this);
  name_ = new QLineEdit(draft.name, this);
  name_->setObjectName(QStringLiteral("name"));
  number_ = new QLineEdit(draft.number, this);
  number_->setObjectName(QStringLiteral("number"));
  layout->addRow(tr("&Name:"), name_);
  layout->addRow(tr("N&umber:"), number_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addRow(buttons);
  name_->selectAll();
}

TCallerDraft TSaveCallerDialog::Draft() const { return {name_->text(), number_->text()}; }
