#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QComboBox;
class QLineEdit;

// The caller-name box's inline completion: typing "Al" shows "Alice Brown"
// with the completed part selected, but only Tab, Enter or choosing from the
// list makes that the name. Until then the name is what was typed, and when
// the box is left any other way the completion is dropped, so typing never
// turns a new caller into a stored one.
class TNameCompletion : public QObject {
 public:
  // `box` is editable and outlives this object.
  explicit TNameCompletion(QComboBox* box);

  // The name as the user gave it: the box's text without a completion that
  // was not accepted.
  QString AcceptedText() const;

  // Runs when Tab or Enter accepts a completion (the list reports a choice
  // through the box's own signals).
  std::function<void()> onAccepted;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool CompletionPending() const;
  void Accept();

  QComboBox* box_;
  QLineEdit* edit_;
  QString typed_;
};
