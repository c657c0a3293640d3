#include "calls/name_completion.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

TNameCompletion::TNameCompletion(QComboBox* box) : box_(box), edit_(box->lineEdit()) {
  // What the user typed, before the completion adds to it.
  connect(edit_, &QLineEdit::textEdited, this, [this](const QString& text) { typed_ = text; });
  // Keys and focus reach the box, which hands them to its line; keys sent to
  // the line itself come this way too.
  box_->installEventFilter(this);
  edit_->installEventFilter(this);
}

bool TNameCompletion::CompletionPending() const {
  const QString text = edit_->text();
  return edit_->hasSelectedText() && text != typed_ && text.startsWith(typed_) &&
         edit_->selectionStart() == typed_.size() && edit_->selectionEnd() == text.size();
}

QString TNameCompletion::AcceptedText() const {
  return CompletionPending() ? typed_ : box_->currentText();
}

bool TNameCompletion::eventFilter(QObject* watched, QEvent* event) {
  if ((watched != edit_ && watched != box_) || !CompletionPending()) return false;
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) Accept();
  } else if (event->type() == QEvent::FocusOut) {
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason) {
      Accept();
    } else {
      // Before the box ends the edit, which would take the completion as chosen.
      edit_->setText(typed_);
    }
  }
  return false;
}

void TNameCompletion::Accept() {
  // The box itself reports an accepted completion only when it names
  // another entry than its current one: the acceptance is told here.
  typed_ = edit_->text();
  edit_->deselect();
  if (onAccepted) onAccepted();
}
