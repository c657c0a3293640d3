#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "calllog/logged_call.h"

class QSqlDatabase;

// What the search box and the "Missed only" switch ask for.
struct TCallFilter {
  QString text;  // as typed; see SearchNeedle()
  bool missedOnly = false;

  bool operator==(const TCallFilter&) const = default;
};

// Something went wrong with the log file; the store has done what it can.
struct TStoreProblem {
  enum class Kind {
    kDamaged,     // the file was damaged: moved aside as `detail`, a new one started
    kUnwritable,  // reading or writing failed (disk full, read-only folder, ...): `detail` says why
    kTooNew,      // written by a later version of the program; left untouched
    kNoDriver,    // Qt's SQLite driver is not installed
  };
  Kind kind = Kind::kUnwritable;
  QString detail;
};

// The call log file (SQLite, WAL): one row per call. Every operation opens
// the file first if it is not open. Operations return false after a failure,
// which they also hand to the problem handler; a damaged file is moved aside
// as "<file>.damaged-<date>" and the operation is tried once more on a new file.
class TCallStore {
 public:
  explicit TCallStore(QString path);
  ~TCallStore();
  TCallStore(const TCallStore&) = delete;
  TCallStore& operator=(const TCallStore&) = delete;

  const QString& Path() const { return path_; }
  void SetProblemHandler(std::function<void(const TStoreProblem&)> handler) {
    problems_ = std::move(handler);
  }

  // Opens (creating the folder and the file) and brings the layout up to date.
  bool Open();
  bool IsOpen() const { return open_; }
  // Closes the file; the next operation opens it again.
  void Close();

  // Writes a new call and sets its id.
  bool Insert(TLoggedCall& call);
  // Rewrites the stored row `call.id` with `call`.
  bool Update(const TLoggedCall& call);
  bool Delete(qint64 id);
  // Removes every call: the file is replaced by a new, empty one.
  bool Clear();

  // Up to `limit` calls matching `filter` with ids below `beforeId`, newest
  // first. After a failure none, and `ok` (when given) is set to false.
  std::vector<TLoggedCall> Page(const TCallFilter& filter, qint64 beforeId, int limit,
                                bool* ok = nullptr);
  // Calls matching `filter` with ids above `afterId`, newest first.
  std::vector<TLoggedCall> Newer(const TCallFilter& filter, qint64 afterId);
  std::optional<TLoggedCall> Get(qint64 id);

  // Missed calls with ids above the last one the user has seen.
  int UnseenMissedCount();
  // Every call logged so far counts as seen.
  bool MarkAllSeen();

  // Deletes at most `batch` of the oldest calls that started before
  // `olderThan` (when given) or that lie outside the newest `cap` ids.
  // Returns how many were deleted, or -1 after a failure.
  int PruneStep(const std::optional<QDateTime>& olderThan, qint64 cap, int batch);

  // Gives back the memory SQLite keeps for reading (the window closed).
  void ReleaseMemory();

 private:
  bool OpenFile();
  bool Configure(QSqlDatabase& db);
  // Runs `operation` on the open file. A damaged file is moved aside and
  // `operation` run once more on a new one.
  bool Run(const std::function<void(QSqlDatabase&)>& operation);
  bool MoveDamagedFileAside();
  void Report(TStoreProblem::Kind kind, const QString& detail);
  std::vector<TLoggedCall> Select(const TCallFilter& filter, const QString& idCondition,
                                  qint64 id, int limit, bool* ok);

  QString path_;
  QString connection_;
  bool open_ = false;
  std::function<void(const TStoreProblem&)> problems_;
};
