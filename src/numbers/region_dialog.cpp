#include "numbers/region_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLocale>
#include <QVBoxLayout>

#include "numbers/home_region.h"

namespace {

constexpr char kRegionCaption[] = QT_TRANSLATE_NOOP("TRegionDialog", "Region");
constexpr char kRegionPrompt[] = QT_TRANSLATE_NOOP("TRegionDialog", "Numbers without a country code are numbers of:");

// "CH  Switzerland"; the code alone where Qt knows no name for it.
QString RegionLabel(const std::string& code) {
  const QString region = QString::fromStdString(code);
  const QLocale::Territory territory = QLocale::codeToTerritory(region);
  if (territory == QLocale::AnyTerritory) return region;
  return region + QStringLiteral("  ") + QLocale::territoryToString(territory);
}

}  // namespace

TRegionDialog::TRegionDialog(const std::string& region, QWidget* parent)
    : QDialog(parent), regions_(new QComboBox(this)) {
  setWindowTitle(tr(kRegionCaption));
  for (const std::string& code : numbers::SupportedRegions())
    regions_->addItem(RegionLabel(code), QString::fromStdString(code));
  regions_->setCurrentIndex(regions_->findData(QString::fromStdString(region)));

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(tr(kRegionPrompt), this));
  layout->addWidget(regions_);
  layout->addWidget(buttons);
}

std::string TRegionDialog::Region() const {
  return regions_->currentData().toString().toStdString();
}
