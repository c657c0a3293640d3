#include "calllog/call_log_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "calllog/call_csv_export.h"
#include "calllog/call_log_model.h"
#include "calllog/call_store.h"
#include "platform/message_dialogs.h"

namespace {
constexpr int kWidth = 720;
constexpr int kHeight = 420;
constexpr int kStatusMessageMs = 10000;
constexpr int kNameWidth = 180;
}  // namespace

TCallLogWindow::TCallLogWindow(TCallStore& store, QWidget* parent)
    : QMainWindow(parent), store_(store) {
  setWindowTitle(tr("Call Log"));
  resize(kWidth, kHeight);
  model_ = new TCallLogModel(store_, this);

  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  auto* filters = new QHBoxLayout;
  search_ = new QLineEdit(central);
  search_->setObjectName(QStringLiteral("search"));
  search_->setPlaceholderText(tr("Search name or number"));
  search_->setClearButtonEnabled(true);
  missedOnly_ = new QCheckBox(tr("&Missed only"), central);
  missedOnly_->setObjectName(QStringLiteral("missedOnly"));
  filters->addWidget(search_, 1);
  filters->addWidget(missedOnly_);
  layout->addLayout(filters);

  table_ = new QTableView(central);
  table_->setObjectName(QStringLiteral("calls"));
  table_->setModel(model_);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setContextMenuPolicy(Qt::CustomContextMenu);
  table_->setWordWrap(false);
  table_->verticalHeader()->hide();
  // Fixed row heights: the view never measures rows it has not shown.
  table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  table_->horizontalHeader()->setStretchLastSection(true);
  layout->addWidget(table_, 1);
  setCentralWidget(central);
  BuildMenus();

  connect(search_, &QLineEdit::textChanged, this, &TCallLogWindow::ApplyFilter);
  connect(missedOnly_, &QCheckBox::toggled, this, &TCallLogWindow::ApplyFilter);
  connect(table_, &QAbstractItemView::activated, this, [this](const QModelIndex& index) {
    if (index.isValid()) emit ShowCallerRequested(model_->Call(index.row()));
  });
  connect(table_, &QWidget::customContextMenuRequested, this, &TCallLogWindow::ShowContextMenu);

  model_->Reload();
  // Sized once, to the first page: the widths stay put while calls arrive.
  table_->resizeColumnsToContents();
  table_->setColumnWidth(TCallLogModel::kName,
                         std::max(table_->columnWidth(TCallLogModel::kName), kNameWidth));
}

TCallLogWindow::~TCallLogWindow() = default;

void TCallLogWindow::BuildMenus() {
  menuBar()->setNativeMenuBar(false);
  QMenu* file = menuBar()->addMenu(tr("&File"));
  export_ = file->addAction(tr("&Export CSV..."));
  connect(export_, &QAction::triggered, this, &TCallLogWindow::ExportCsv);
  QAction* clear = file->addAction(tr("&Clear log..."));
  connect(clear, &QAction::triggered, this, &TCallLogWindow::ClearLog);
  file->addSeparator();
  QAction* close = file->addAction(tr("&Close"));
  close->setShortcut(QKeySequence::Close);
  connect(close, &QAction::triggered, this, &QWidget::close);
}

void TCallLogWindow::CallChanged(qint64 id) { model_->CallChanged(id); }

void TCallLogWindow::Reload() { model_->Reload(); }

bool TCallLogWindow::CanSaveCaller(const TLoggedCall& call) {
  return call.matchedName.isEmpty() && !call.withheld && !call.numberReceived.isEmpty();
}

void TCallLogWindow::ApplyFilter() {
  model_->SetFilter({search_->text(), missedOnly_->isChecked()});
}

void TCallLogWindow::ShowContextMenu(const QPoint& position) {
  const QModelIndex index = table_->indexAt(position);
  if (!index.isValid()) return;
  const int row = index.row();
  const TLoggedCall call = model_->Call(row);
  QMenu menu(this);
  QAction* copy = menu.addAction(tr("&Copy number"));
  copy->setEnabled(!call.numberDisplayed.isEmpty());
  QAction* save = menu.addAction(tr("&Save caller..."));
  save->setEnabled(CanSaveCaller(call));
  QAction* remove = menu.addAction(tr("&Delete entry"));
  QAction* chosen = menu.exec(table_->viewport()->mapToGlobal(position));
  if (chosen == copy) {
    QApplication::clipboard()->setText(call.numberDisplayed);
  } else if (chosen == save) {
    emit SaveCallerRequested(call);
  } else if (chosen == remove) {
    model_->DeleteCall(row);
  }
}

QString TCallLogWindow::DefaultExportFile() {
  return QFileDialog::getSaveFileName(this, tr("Export CSV"),
                                      QDir::homePath() + QStringLiteral("/calls.csv"),
                                      tr("CSV files (*.csv);;All files (*)"));
}

void TCallLogWindow::ExportCsv() {
  const QString path = AskExportFile ? AskExportFile() : DefaultExportFile();
  if (path.isEmpty()) return;
  export_->setEnabled(false);
  auto* exporter = new TCallCsvExport(store_, model_->Filter(), path, this);
  connect(exporter, &TCallCsvExport::Finished, this,
          [this, exporter, path](int calls, const QString& error) {
            exporter->deleteLater();
            export_->setEnabled(true);
            if (error.isEmpty()) {
              statusBar()->showMessage(tr("%1 calls exported to %2").arg(calls).arg(path),
                                       kStatusMessageMs);
            } else {
              platform::ShowErrorDialog(error);
            }
            emit ExportFinished(calls, error);
          });
  exporter->Start();
}

void TCallLogWindow::ClearLog() {
  if (!platform::AskConfirmation(tr("Delete every call from the call log?"))) return;
  store_.Clear();
  model_->Reload();
  emit Cleared();
}
