#pragma once

#include <QMainWindow>
#include <QString>
#include <functional>

#include "calllog/logged_call.h"

class QCheckBox;
class QLineEdit;
class QTableView;
class TCallLogModel;
class TCallStore;

// The Call Log window: the calls, newest first, a search box that filters
// by name or number as the user types, a "Missed only" switch, export to
// CSV and clearing the log. What is done with a chosen caller is up to the
// owner (see the signals).
class TCallLogWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit TCallLogWindow(TCallStore& store, QWidget* parent = nullptr);
  ~TCallLogWindow() override;

  // Asks for the file to export to; "" cancels. A save-file dialog unless set.
  std::function<QString()> AskExportFile;

  // Call `id` was written or changed.
  void CallChanged(qint64 id);
  // The log changed in more than one place (calls were dropped).
  void Reload();

  // True when "Save caller..." applies to `call`: it sent a number and
  // matched no stored caller.
  static bool CanSaveCaller(const TLoggedCall& call);

 signals:
  // Double-click or Enter on a call.
  void ShowCallerRequested(const TLoggedCall& call);
  // "Save caller..." on a call.
  void SaveCallerRequested(const TLoggedCall& call);
  // An export has ended; `error` is empty on success.
  void ExportFinished(int calls, const QString& error);
  // The user cleared the log.
  void Cleared();

 private:
  void BuildMenus();
  void ApplyFilter();
  void ShowContextMenu(const QPoint& position);
  void ExportCsv();
  void ClearLog();
  QString DefaultExportFile();

  TCallStore& store_;
  TCallLogModel* model_ = nullptr;
  QLineEdit* search_ = nullptr;
  QCheckBox* missedOnly_ = nullptr;
  QTableView* table_ = nullptr;
  QAction* export_ = nullptr;
};
