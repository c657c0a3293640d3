#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;

// A caller to be stored from the call log: the name and number the user
// confirmed.
struct TCallerDraft {
  QString name;
  QString number;

  bool operator==(const TCallerDraft&) const = default;
};

// "Save caller...": asks for the name and number of a caller from the log,
// filled in with what the call brought.
class TSaveCallerDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TSaveCallerDialog(const TCallerDraft& draft, QWidget* parent = nullptr);

  TCallerDraft Draft() const;

 private:
  QLineEdit* name_ = nullptr;
  QLineEdit* number_ = nullptr;
};
