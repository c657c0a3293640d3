#include "calllog/call_log_model.h"

#include <QBrush>
#include <QColor>
#include <algorithm>
#include <limits>

namespace {
constexpr char kTimeFormat[] = "yyyy-MM-dd HH:mm:ss";
}  // namespace

TCallLogModel::TCallLogModel(TCallStore& store, QObject* parent)
    : QAbstractTableModel(parent), store_(store) {}

void TCallLogModel::SetFilter(const TCallFilter& filter) {
  filter_ = filter;
  Reload();
}

void TCallLogModel::Reload() {
  beginResetModel();
  rows_.clear();
  rows_.shrink_to_fit();
  more_ = true;
  endResetModel();
  fetchMore(QModelIndex());
}

int TCallLogModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(rows_.size());
}

int TCallLogModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumnCount;
}

bool TCallLogModel::canFetchMore(const QModelIndex& parent) const {
  return !parent.isValid() && more_;
}

void TCallLogModel::fetchMore(const QModelIndex& parent) {
  if (parent.isValid() || !more_) return;
  const qint64 before = rows_.empty() ? std::numeric_limits<qint64>::max() : rows_.back().id;
  std::vector<TLoggedCall> page = store_.Page(filter_, before, kPageSize);
  more_ = int(page.size()) == kPageSize;
  if (page.empty()) return;
  beginInsertRows(QModelIndex(), int(rows_.size()), int(rows_.size() + page.size()) - 1);
  rows_.insert(rows_.end(), std::make_move_iterator(page.begin()),
               std::make_move_iterator(page.end()));
  endInsertRows();
}

int TCallLogModel::RowOf(qint64 id) const {
  // Rows are ordered by falling id.
  const auto it = std::lower_bound(rows_.begin(), rows_.end(), id,
                                   [](const TLoggedCall& call, qint64 wanted) { return call.id > wanted; });
  return it != rows_.end() && it->id == id ? int(it - rows_.begin()) : -1;
}

void TCallLogModel::CallChanged(qint64 id) {
  if (rows_.empty()) {
    Reload();
    return;
  }
  if (id > rows_.front().id) {
    std::vector<TLoggedCall> newer = store_.Newer(filter_, rows_.front().id);
    if (newer.empty()) return;
    beginInsertRows(QModelIndex(), 0, int(newer.size()) - 1);
    rows_.insert(rows_.begin(), std::make_move_iterator(newer.begin()),
                 std::make_move_iterator(newer.end()));
    endInsertRows();
    return;
  }
  const int row = RowOf(id);
  if (row < 0) return;
  if (const std::optional<TLoggedCall> call = store_.Get(id)) {
    rows_[std::size_t(row)] = *call;
    emit dataChanged(index(row, 0), index(row, kColumnCount - 1));
  }
}

bool TCallLogModel::DeleteCall(int row) {
  if (row < 0 || row >= rowCount()) return false;
  if (!store_.Delete(Call(row).id)) return false;
  beginRemoveRows(QModelIndex(), row, row);
  rows_.erase(rows_.begin() + row);
  endRemoveRows();
  return true;
}

QString TCallLogModel::TimeText(const TLoggedCall& call) {
  return call.LocalStart().toString(QString::fromLatin1(kTimeFormat));
}

QString TCallLogModel::StatusText(TCallEnding ending) {
  switch (ending) {
    case TCallEnding::kAnswered: return tr("Answered");
    case TCallEnding::kMissed: return tr("Missed");
    case TCallEnding::kUnknown: break;
  }
  return QString();
}

QString TCallLogModel::ForwardingText(const TCallForwarding& outcome) {
  QString text;
  switch (outcome.kind) {
    case TForwardingKind::kNone: return QString();
    case TForwardingKind::kDBusSent: text = tr("Sent over D-Bus"); break;
    case TForwardingKind::kNotOpen: text = tr("Not open"); break;
    case TForwardingKind::kProgramStarted: text = tr("Program started"); break;
    case TForwardingKind::kStartError: text = tr("Start error"); break;
    case TForwardingKind::kScriptExit: text = tr("Script ended"); break;
  }
  return outcome.detail.isEmpty() ? text : text + QStringLiteral(": ") + outcome.detail;
}

QVariant TCallLogModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return QVariant();
  const TLoggedCall& call = Call(index.row());
  if (role == Qt::ForegroundRole && call.ending == TCallEnding::kMissed)
    return QBrush(QColor(Qt::darkRed));
  if (role == Qt::ToolTipRole && index.column() == kName && !call.matchedName.isEmpty() &&
      call.matchedName != call.networkName) {
    return tr("Sent by the network as: %1").arg(call.networkName);
  }
  if (role != Qt::DisplayRole) return QVariant();
  switch (index.column()) {
    case kTime: return TimeText(call);
    case kName: return call.ShownName();
    case kNumber: return call.numberDisplayed;
    case kLine: return call.line;
    case kStatus: return StatusText(call.ending);
    case kForwarded: return ForwardingText(call.forwarding);
    default: break;
  }
  return QVariant();
}

QVariant TCallLogModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return QVariant();
  switch (section) {
    case kTime: return tr("Time");
    case kName: return tr("Name");
    case kNumber: return tr("Number");
    case kLine: return tr("Line");
    case kStatus: return tr("Status");
    case kForwarded: return tr("Forwarded");
    default: break;
  }
  return QVariant();
}
