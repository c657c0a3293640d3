#include "calllog/call_log_reports.h"

TCallLogReports::TCallLogReports(std::function<void(const QString&)> tell)
    : tell_(std::move(tell)) {}

void TCallLogReports::Problem(const TStoreProblem& problem) {
  bool* told = nullptr;
  switch (problem.kind) {
    case TStoreProblem::Kind::kDamaged: break;
    case TStoreProblem::Kind::kUnwritable: told = &unwritableTold_; break;
    case TStoreProblem::Kind::kTooNew: told = &tooNewTold_; break;
    case TStoreProblem::Kind::kNoDriver: told = &noDriverTold_; break;
  }
  if (told) {
    if (*told) return;
    *told = true;
  }
  if (tell_) tell_(Text(problem));
}

QString TCallLogReports::Text(const TStoreProblem& problem) {
  switch (problem.kind) {
    case TStoreProblem::Kind::kDamaged:
      return tr("The call log was damaged. It has been moved aside as %1, and a new call log "
                "has been started.")
          .arg(problem.detail);
    case TStoreProblem::Kind::kUnwritable:
      return tr("The call log cannot be written (%1). Calls are still shown and forwarded, and "
                "they are logged as soon as writing works again.")
          .arg(problem.detail);
    case TStoreProblem::Kind::kTooNew:
      return tr("The call log %1 was written by a newer version of Quorvel and is left as it "
                "is. Calls are not logged.")
          .arg(problem.detail);
    case TStoreProblem::Kind::kNoDriver:
      return tr("The call log cannot be opened: the SQLite driver of Qt is not installed "
                "(Debian package libqt6sql6-sqlite). Calls are not logged.");
  }
  return QString();
}
