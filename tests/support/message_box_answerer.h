#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <vector>

class QMessageBox;

// Answers the message boxes that code under test opens. Each box is recorded
// the moment it is shown (so a box that does not wait is seen at once) and
// then answered through the event loop with the next button text queued (or
// its first button when the queue is empty). Boxes still open when the
// answerer ends are answered then.
class MessageBoxAnswerer : public QObject {
 public:
  struct Seen {
    QString caption;
    QString text;
    int icon = 0;  // QMessageBox::Icon
    QStringList buttons;
    QString answered;
  };

  explicit MessageBoxAnswerer(QStringList answers = {});
  ~MessageBoxAnswerer() override;

  // The button text to press on the next box, e.g. "&Yes" or "Cancel".
  void Queue(const QString& buttonText) { answers_ << buttonText; }
  const std::vector<Seen>& seen() const { return seen_; }

  // From now on boxes are left on screen until AnswerHeld(). Should a box
  // stop the code that opened it, it is answered after `fallbackMs` all the
  // same, so that a test of that code fails instead of hanging.
  void Hold(int fallbackMs = 60000);
  // Answers every box still on screen, as queued, and stops holding.
  void AnswerHeld();
  // Boxes recorded here that are still on screen.
  int OpenCount() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Pending {
    QPointer<QMessageBox> box;
    QString answer;
  };
  static void Answer(const Pending& pending);

  QStringList answers_;
  std::vector<Seen> seen_;
  std::vector<Pending> boxes_;
  bool holding_ = false;
  QTimer fallback_;
};
