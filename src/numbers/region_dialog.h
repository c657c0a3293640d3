#pragma once

#include <QDialog>
#include <string>

class QComboBox;

// File > "&Region...": the home region, in which numbers written without a
// country code are read. Edits a region code; the caller stores and applies it.
class TRegionDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TRegionDialog(const std::string& region, QWidget* parent = nullptr);

  // The chosen two-letter code.
  std::string Region() const;

  QComboBox* Regions() const { return regions_; }

 private:
  QComboBox* regions_;
};
