#pragma once

#include <QImage>
#include <functional>
#include <memory>

#include "calls/caller_view.h"
#include "calls/name_completion.h"

class QAbstractButton;
class QComboBox;
class QLabel;
class QLineEdit;
class QWidget;

// TCallerView over the main window's widgets. The picture area is a label
// that stretches its picture; it starts with the built-in start-up picture.
class TCallerViewWidgets : public TCallerView {
 public:
  struct Widgets {
    QWidget* window = nullptr;
    QLabel* image = nullptr;
    QComboBox* callerName = nullptr;  // editable
    QLineEdit* callerID = nullptr;
    QAbstractButton* saveToDatabase = nullptr;
  };

  TCallerViewWidgets(const Widgets& widgets, std::function<bool()> isActiveMode);
  ~TCallerViewWidgets() override;

  // The name box's completion, which decides what the typed name is.
  TNameCompletion& NameCompletion() { return *completion_; }

  QString CallerNameText() const override;
  void SetCallerNameText(const QString& text) override;
  QStringList CallerNameEntries() const override;
  void SetCallerNameEntries(const QStringList& entries) override;
  QString CallerIDText() const override;
  void SetCallerIDText(const QString& text) override;
  QImage Picture() const override;
  void SetPicture(const QImage& picture) override;
  void SetSaveButtonVisible(bool visible) override;
  QString ChoosePictureFile() override;
  void ShowAndRaise() override;
  void Beep() override;
  bool IsActiveMode() const override;

 private:
  Widgets widgets_;
  std::function<bool()> isActiveMode_;
  QImage picture_;
  std::unique_ptr<TNameCompletion> completion_;
};
