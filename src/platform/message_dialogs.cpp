#include "message_dialogs.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QEventLoop>
#include <QList>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <utility>

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

// The reports on screen, oldest first.
QList<QPointer<QMessageBox>>& OpenReports() {
  static QList<QPointer<QMessageBox>> open;
  open.removeAll(QPointer<QMessageBox>());
  return open;
}

// Reports still open when the application ends go with it, while the window
// system is still there to take their windows down.
void DeleteOpenReports() {
  for (const QPointer<QMessageBox>& box : std::exchange(OpenReports(), {})) delete box.data();
}

QMessageBox* FindOpenReport(QMessageBox::Icon icon, const QString& caption, const QString& text) {
  for (const QPointer<QMessageBox>& box : OpenReports()) {
    if (box->icon() == icon && box->windowTitle() == caption && box->text() == text) return box;
  }
  return nullptr;
}

void ShowReport(QMessageBox::Icon icon, const QString& caption, const QString& text) {
  if (QMessageBox* open = FindOpenReport(icon, caption, text)) {
    open->raise();  // it may be behind a window a call brought up since
    return;
  }
  static const bool cleanupRegistered = (qAddPostRoutine(DeleteOpenReports), true);
  (void)cleanupRegistered;
  auto* box = new QMessageBox(icon, caption, text);
  box->setDefaultButton(box->addButton(QMessageBox::Ok));
  box->setWindowModality(Qt::ApplicationModal);
  QObject::connect(box, &QDialog::finished, box, [box] {
    OpenReports().removeAll(QPointer<QMessageBox>(box));
    box->deleteLater();
  });
  OpenReports().append(box);
  box->show();
}

}  // namespace

void ShowErrorDialog(const QString& text) {
  ShowReport(QMessageBox::Critical, FrameworkText(kErrorDialogCaption), text);
}

bool AskConfirmation(const QString& text) {
  QMessageBox box(QMessageBox::Question, FrameworkText(kConfirmationDialogCaption), text);
  QPushButton* yes = box.addButton(QMessageBox::Yes);
  QPushButton* no = box.addButton(QMessageBox::No);
  box.setDefaultButton(yes);
  box.setEscapeButton(no);
  return RunBox(box) == yes;
}

bool ShowMessageBox(const QString& text, const QString& caption, MessageIcon icon,
                    bool withCancel) {
  if (!withCancel) {
    ShowReport(ToQtIcon(icon), caption, text);
    return true;
  }
  QMessageBox box(ToQtIcon(icon), caption, text);
  QPushButton* ok = box.addButton(QMessageBox::Ok);
  QPushButton* cancel = box.addButton(QMessageBox::Cancel);
  box.setEscapeButton(cancel);
  box.setDefaultButton(ok);
  return RunBox(box) == ok;
}

QString WithFullStop(const QString& message) {
  if (!message.isEmpty() && message.back() > QLatin1Char('.')) return message + QLatin1Char('.');
  return message;
}

void ShowGeneralErrorReport(const QString& message) {
  ShowReport(QMessageBox::Critical, QString::fromUtf8(kApplicationTitle), WithFullStop(message));
}

void ShowGeneralErrorReport(const std::exception& error) {
  // The database's messages are catalogued in its component's context; any
  // other message is shown as it is.
  ShowGeneralErrorReport(QCoreApplication::translate("TIniDBase", error.what()));
}

int OpenReportCount() { return int(OpenReports().size()); }

void WaitUntilReportsClosed() {
  while (!OpenReports().isEmpty()) {
    QMessageBox* box = OpenReports().first();
    QEventLoop loop;
    bool closed = false;
    const auto onClosed = [&] {
      closed = true;
      loop.quit();
    };
    QObject::connect(box, &QDialog::finished, &loop, onClosed);
    QObject::connect(box, &QObject::destroyed, &loop, onClosed);
    loop.exec();
    if (!closed) return;  // the application is ending: no loop runs any more
  }
}

}  // namespace platform
