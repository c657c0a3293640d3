#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <vector>

// Answers the application-modal message boxes that code under test opens:
// each box is recorded and then answered with the next button text queued
// (or its first button when the queue is empty).
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

  // The button text to press on the next box, e.g. "&Ja" or "Cancel".
  void Queue(const QString& buttonText) { answers_ << buttonText; }
  const std::vector<Seen>& seen() const { return seen_; }

 private:
  void Poll();

  QTimer timer_;
  QStringList answers_;
  std::vector<Seen> seen_;
};
