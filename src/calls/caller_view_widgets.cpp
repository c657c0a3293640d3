#include "calls/caller_view_widgets.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QSignalBlocker>
#include <QStandardPaths>

#include "calls/caller_pictures.h"
#include "calls/calls_constants.h"

TCallerViewWidgets::TCallerViewWidgets(const Widgets& widgets, std::function<bool()> isActiveMode)
    : widgets_(widgets),
      isActiveMode_(std::move(isActiveMode)),
      completion_(std::make_unique<TNameCompletion>(widgets_.callerName)) {
  widgets_.image->setScaledContents(true);
  SetPicture(calls::StartupPicture());
}

TCallerViewWidgets::~TCallerViewWidgets() = default;

QString TCallerViewWidgets::CallerNameText() const { return completion_->AcceptedText(); }

void TCallerViewWidgets::SetCallerNameText(const QString& text) {
  widgets_.callerName->setEditText(text);
}

QStringList TCallerViewWidgets::CallerNameEntries() const {
  QStringList entries;
  for (int i = 0; i < widgets_.callerName->count(); ++i) entries << widgets_.callerName->itemText(i);
  return entries;
}

void TCallerViewWidgets::SetCallerNameEntries(const QStringList& entries) {
  const QString text = CallerNameText();
  {
    // Refilling the list is not a change of the caller: no index signals.
    const QSignalBlocker blocker(widgets_.callerName);
    widgets_.callerName->clear();
    widgets_.callerName->addItems(entries);
    widgets_.callerName->setCurrentIndex(-1);
  }
  widgets_.callerName->setEditText(text);
}

QString TCallerViewWidgets::CallerIDText() const { return widgets_.callerID->text(); }

void TCallerViewWidgets::SetCallerIDText(const QString& text) { widgets_.callerID->setText(text); }

QImage TCallerViewWidgets::Picture() const { return picture_; }

void TCallerViewWidgets::SetPicture(const QImage& picture) {
  picture_ = picture;
  widgets_.image->setPixmap(QPixmap::fromImage(picture));
}

void TCallerViewWidgets::SetSaveButtonVisible(bool visible) {
  widgets_.saveToDatabase->setVisible(visible);
}

QString TCallerViewWidgets::ChoosePictureFile() {
  return QFileDialog::getOpenFileName(
      widgets_.window, calls::Tr(calls::kChoosePictureCaption),
      QStandardPaths::writableLocation(QStandardPaths::PicturesLocation),
      calls::Tr(calls::kPictureFileFilter));
}

void TCallerViewWidgets::ShowAndRaise() {
  QWidget* window = widgets_.window;
  window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
  window->show();
  window->raise();
  window->activateWindow();
}

void TCallerViewWidgets::Beep() { QApplication::beep(); }

bool TCallerViewWidgets::IsActiveMode() const { return isActiveMode_ && isActiveMode_(); }
