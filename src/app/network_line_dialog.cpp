#include "app/network_line_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

constexpr int kMaxPort = 65535;
constexpr int kHostFieldWidth = 240;

}  // namespace

TNetworkLineDialog::TNetworkLineDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("Add Network Line"));

  kind_ = new QComboBox(this);
  kind_->setObjectName(QStringLiteral("kind"));
  kind_->addItem(tr("NCID server"), static_cast<int>(TNetworkLineChoice::Kind::kNcid));
  kind_->addItem(tr("FRITZ!Box"), static_cast<int>(TNetworkLineChoice::Kind::kFritzBox));

  host_ = new QLineEdit(this);
  host_->setObjectName(QStringLiteral("host"));
  host_->setMinimumWidth(kHostFieldWidth);

  port_ = new QSpinBox(this);
  port_->setObjectName(QStringLiteral("port"));
  port_->setRange(1, kMaxPort);
  port_->setValue(TNetworkLineChoice::DefaultPort(TNetworkLineChoice::Kind::kNcid));

  hint_ = new QLabel(this);
  hint_->setWordWrap(true);

  problem_ = new QLabel(this);
  problem_->setObjectName(QStringLiteral("problem"));
  problem_->setWordWrap(true);
  problem_->setStyleSheet(QStringLiteral("color: #b00000"));
  problem_->hide();

  auto* form = new QFormLayout;
  form->addRow(tr("&Kind:"), kind_);
  form->addRow(tr("&Host:"), host_);
  form->addRow(tr("&Port:"), port_);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &TNetworkLineDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &TNetworkLineDialog::reject);

  auto* layout = new QVBoxLayout(this);
  // The dialog grows with the message rather than squeezing the fields.
  layout->setSizeConstraint(QLayout::SetFixedSize);
  layout->addLayout(form);
  layout->addWidget(hint_);
  layout->addWidget(problem_);
  layout->addWidget(buttons);

  connect(kind_, &QComboBox::currentIndexChanged, this, &TNetworkLineDialog::KindChanged);
  connect(host_, &QLineEdit::textEdited, problem_, &QLabel::hide);
  KindChanged();
  host_->setFocus();
}

TNetworkLineChoice TNetworkLineDialog::Choice() const {
  TNetworkLineChoice choice;
  choice.kind = static_cast<TNetworkLineChoice::Kind>(kind_->currentData().toInt());
  choice.host = host_->text();
  choice.port = port_->value();
  return choice;
}

void TNetworkLineDialog::KindChanged() {
  const TNetworkLineChoice::Kind kind = Choice().kind;
  // A port left at the other kind's default follows the kind.
  for (const auto other : {TNetworkLineChoice::Kind::kNcid, TNetworkLineChoice::Kind::kFritzBox}) {
    if (other != kind && port_->value() == TNetworkLineChoice::DefaultPort(other)) {
      port_->setValue(TNetworkLineChoice::DefaultPort(kind));
    }
  }
  hint_->setText(kind == TNetworkLineChoice::Kind::kNcid
                     ? tr("The computer that runs the NCID server (ncidd).")
                     : tr("The FRITZ!Box, usually fritz.box. Its call monitor is switched on once by dialling "
                          "#96*5* from a telephone connected to it."));
}

void TNetworkLineDialog::accept() {
  QString problem;
  if (Choice().LineName(&problem).isEmpty()) {
    problem_->setText(problem);
    problem_->show();
    host_->setFocus();
    return;
  }
  QDialog::accept();
}
