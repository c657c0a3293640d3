// A process killed in the middle of writing calls loses none it committed,
// and the log opens cleanly afterwards.
#include <QProcess>
#include <csignal>

#include "call_log_fixture.h"

namespace {

// Starts the writer on `file`, lets it commit at least `atLeast` calls,
// kills it with SIGKILL, and returns the ids it reported as committed.
std::vector<qint64> WriteAndKill(const QString& file, int atLeast) {
  QProcess writer;
  writer.start(QStringLiteral(QUORVEL_CALL_LOG_WRITER), {file});
  std::vector<qint64> ids;
  QByteArray pending;
  while (int(ids.size()) < atLeast && writer.waitForReadyRead(30000)) {
    pending += writer.readAllStandardOutput();
    qsizetype end;
    while ((end = pending.indexOf('\n')) >= 0) {
      const QByteArray line = pending.left(end);
      pending.remove(0, end + 1);
      if (line.startsWith("logged ")) ids.push_back(line.mid(7).toLongLong());
    }
  }
  ::kill(pid_t(writer.processId()), SIGKILL);
  writer.waitForFinished(30000);
  EXPECT_EQ(writer.exitStatus(), QProcess::CrashExit) << writer.readAllStandardError().toStdString();
  return ids;
}

TEST_F(CallLogFixture, KilledWhileWritingLosesNothingCommittedAndOpensCleanly) {
  std::vector<qint64> committed;
  for (int round = 0; round < 3; ++round) {
    const auto ids = WriteAndKill(LogFile(), 50 + 37 * round);
    ASSERT_FALSE(ids.empty());
    committed.insert(committed.end(), ids.begin(), ids.end());
    EXPECT_EQ(QueryFile(LogFile(), "PRAGMA integrity_check").toString(), "ok");
  }
  ASSERT_TRUE(store.Open());
  EXPECT_TRUE(problems.empty());
  for (const qint64 id : committed) ASSERT_TRUE(store.Get(id).has_value()) << id;
  // The search index agrees with the table.
  EXPECT_EQ(QueryFile(LogFile(), "INSERT INTO calls_search(calls_search) VALUES ('integrity-check')"),
            QVariant());
  EXPECT_GE(store.Page({"caller"}, std::numeric_limits<qint64>::max(), 1000000).size(),
            committed.size());
}

}  // namespace
