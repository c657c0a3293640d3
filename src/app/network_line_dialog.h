#pragma once

#include <QDialog>

#include "app/network_line_choice.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;

// "Add Network Line": asks for the kind of server (NCID server or
// FRITZ!Box) and its host and port. OK is taken only for a valid host and
// port; otherwise the dialog says what is wrong and stays open.
class TNetworkLineDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TNetworkLineDialog(QWidget* parent = nullptr);

  TNetworkLineChoice Choice() const;

  void accept() override;

 private:
  void KindChanged();

  QComboBox* kind_ = nullptr;
  QLineEdit* host_ = nullptr;
  QSpinBox* port_ = nullptr;
  QLabel* hint_ = nullptr;
  QLabel* problem_ = nullptr;
};
