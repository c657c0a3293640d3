#pragma once

#include <QCoreApplication>
#include <QString>
#include <functional>

#include "calllog/call_store.h"

// Tells the user about the log's problems without repeating itself: a
// damaged file once each time one is moved aside, a log that cannot be
// written once until writing works again, the rest once per run. Calls are
// shown and forwarded whatever happens here.
class TCallLogReports {
  Q_DECLARE_TR_FUNCTIONS(TCallLogReports)

 public:
  explicit TCallLogReports(std::function<void(const QString&)> tell);

  void Problem(const TStoreProblem& problem);
  // A write succeeded: a later failure is news again.
  void WritingWorks() { unwritableTold_ = false; }

  // The message for `problem`.
  static QString Text(const TStoreProblem& problem);

 private:
  std::function<void(const QString&)> tell_;
  bool unwritableTold_ = false;
  bool tooNewTold_ = false;
  bool noDriverTold_ = false;
};
