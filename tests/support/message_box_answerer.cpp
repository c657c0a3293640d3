#include "message_box_answerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

MessageBoxAnswerer::MessageBoxAnswerer(QStringList answers) : answers_(std::move(answers)) {
  timer_.setInterval(5);
  connect(&timer_, &QTimer::timeout, this, &MessageBoxAnswerer::Poll);
  timer_.start();
}

void MessageBoxAnswerer::Poll() {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    auto* box = qobject_cast<QMessageBox*>(w);
    if (!box || !box->isVisible()) continue;
    Seen s;
    s.caption = box->windowTitle();
    s.text = box->text();
    s.icon = box->icon();
    for (QAbstractButton* b : box->buttons()) s.buttons << b->text();
    const QString wanted = answers_.isEmpty() ? QString() : answers_.takeFirst();
    QAbstractButton* press = box->buttons().isEmpty() ? nullptr : box->buttons().first();
    for (QAbstractButton* b : box->buttons()) {
      if (!wanted.isEmpty() && b->text() == wanted) press = b;
    }
    s.answered = press ? press->text() : QString();
    seen_.push_back(s);
    if (press) press->click(); else box->reject();
    return;  // one box per poll: the next may open from this answer
  }
}
