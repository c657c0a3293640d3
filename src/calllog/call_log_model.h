#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "calllog/call_store.h"
#include "calllog/logged_call.h"

// The log as a table, newest call first. Rows are read a page at a time as
// the view scrolls (canFetchMore/fetchMore); only the pages read are held.
class TCallLogModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum Column { kTime, kName, kNumber, kLine, kStatus, kForwarded, kColumnCount };
  static constexpr int kPageSize = 200;

  explicit TCallLogModel(TCallStore& store, QObject* parent = nullptr);

  const TCallFilter& Filter() const { return filter_; }
  // Shows the calls matching `filter`, from the newest.
  void SetFilter(const TCallFilter& filter);
  // Reads the log again from the newest call.
  void Reload();
  const TLoggedCall& Call(int row) const { return rows_.at(std::size_t(row)); }
  // Call `id` was written or changed: a new call appears at the top (when
  // it matches), a shown one is refreshed.
  void CallChanged(qint64 id);
  // Deletes the call of `row` from the log and the table.
  bool DeleteCall(int row);

  // The texts the table shows.
  static QString TimeText(const TLoggedCall& call);
  static QString StatusText(TCallEnding ending);
  static QString ForwardingText(const TCallForwarding& outcome);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  bool canFetchMore(const QModelIndex& parent) const override;
  void fetchMore(const QModelIndex& parent) override;

 private:
  int RowOf(qint64 id) const;

  TCallStore& store_;
  TCallFilter filter_;
  std::vector<TLoggedCall> rows_;
  bool more_ = true;
};
