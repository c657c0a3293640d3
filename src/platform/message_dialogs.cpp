#include "message_dialogs.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>

namespace platform {
namespace {

QMessageBox::Icon ToQtIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Error: return QMessageBox::Critical;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::None: break;
  }
  return QMessageBox::NoIcon;
}

// Runs one modal box; returns the button that was chosen (nullptr when the
// box was closed without a button, which counts as the escape button).
QAbstractButton* RunBox(QMessageBox& box) {
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
  return box.clickedButton();
}

}  // namespace

void ShowErrorDialog(const QString& text) {
  QMessageBox box(QMessageBox::Critical, QString::fromUtf8(kErrorDialogCaption), text);
  box.addButton(QString::fromUtf8(kOkButton), QMessageBox::AcceptRole);
  RunBox(box);
}

bool AskConfirmation(const QString& text) {
  QMessageBox box(QMessageBox::Question, QString::fromUtf8(kConfirmationDialogCaption), text);
  QPushButton* yes = box.addButton(QString::fromUtf8(kYesButton), QMessageBox::YesRole);
  QPushButton* no = box.addButton(QString::fromUtf8(kNoButton), QMessageBox::NoRole);
  box.setDefaultButton(yes);
  box.setEscapeButton(no);
  return RunBox(box) == yes;
}

bool ShowMessageBox(const QString& text, const QString& caption, MessageIcon icon,
                    bool withCancel) {
  QMessageBox box(ToQtIcon(icon), caption, text);
  QPushButton* ok = box.addButton(QString::fromUtf8(kOkButton), QMessageBox::AcceptRole);
  if (withCancel) {
    QPushButton* cancel = box.addButton(QString::fromUtf8(kCancelButton), QMessageBox::RejectRole);
    box.setEscapeButton(cancel);
  }
  box.setDefaultButton(ok);
  return RunBox(box) == ok;
}

QString WithFullStop(const QString& message) {
  if (!message.isEmpty() && message.back() > QLatin1Char('.')) return message + QLatin1Char('.');
  return message;
}

void ShowGeneralErrorReport(const QString& message) {
  ShowMessageBox(WithFullStop(message), QString::fromUtf8(kApplicationTitle), MessageIcon::Error);
}

}  // namespace platform
