#include "message_box_answerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QMessageBox>

namespace {
// Marks a box as taken by an answerer, so that two answerers never both press.
constexpr char kTakenProperty[] = "messageBoxAnswererTaken";
}  // namespace

MessageBoxAnswerer::MessageBoxAnswerer(QStringList answers) : answers_(std::move(answers)) {
  fallback_.setSingleShot(true);
  connect(&fallback_, &QTimer::timeout, this, &MessageBoxAnswerer::AnswerHeld);
  qApp->installEventFilter(this);
}

MessageBoxAnswerer::~MessageBoxAnswerer() {
  qApp->removeEventFilter(this);
  for (const Pending& pending : boxes_) Answer(pending);
}

void MessageBoxAnswerer::Hold(int fallbackMs) {
  holding_ = true;
  fallback_.start(fallbackMs);
}

void MessageBoxAnswerer::AnswerHeld() {
  holding_ = false;
  fallback_.stop();
  for (const Pending& pending : boxes_) Answer(pending);
}

int MessageBoxAnswerer::OpenCount() const {
  int open = 0;
  for (const Pending& pending : boxes_) open += pending.box && pending.box->isVisible() ? 1 : 0;
  return open;
}

void MessageBoxAnswerer::Answer(const Pending& pending) {
  QMessageBox* box = pending.box;
  if (!box || !box->isVisible()) return;
  QAbstractButton* press = box->buttons().isEmpty() ? nullptr : box->buttons().first();
  for (QAbstractButton* b : box->buttons()) {
    if (b->text() == pending.answer) press = b;
  }
  if (press) press->click();
  else box->reject();
}

bool MessageBoxAnswerer::eventFilter(QObject* watched, QEvent* event) {
  auto* box = qobject_cast<QMessageBox*>(watched);
  if (event->type() != QEvent::Show || !box || box->property(kTakenProperty).toBool())
    return QObject::eventFilter(watched, event);
  box->setProperty(kTakenProperty, true);

  Seen s;
  s.caption = box->windowTitle();
  s.text = box->text();
  s.icon = box->icon();
  for (QAbstractButton* b : box->buttons()) s.buttons << b->text();
  Pending pending{box, answers_.isEmpty() ? QString() : answers_.takeFirst()};
  s.answered = s.buttons.contains(pending.answer) || s.buttons.isEmpty() ? pending.answer
                                                                        : s.buttons.first();
  seen_.push_back(s);
  boxes_.push_back(pending);
  // Pressed from the event loop: a box that waits is only then ready to end
  // its wait.
  if (!holding_) QTimer::singleShot(0, box, [pending] { Answer(pending); });
  return QObject::eventFilter(watched, event);
}
