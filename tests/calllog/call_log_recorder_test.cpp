// Which row each moment of a call reaches, when it is written, and what
// happens while the log cannot be written.
#include <QSignalSpy>
#include <csignal>
#include <sys/resource.h>

#include "call_log_fixture.h"
#include "calllog/call_log_recorder.h"
#include "calllog/call_log_reports.h"
#include "calllog/call_log_retention.h"

namespace {

class RecorderTest : public CallLogFixture {
 protected:
  RecorderTest() { recorder.SetRetryInterval(60000); }

  // One processing of a call: started, then handled.
  void Process(const TLoggedCall& call, const QDateTime& start = QDateTime::currentDateTimeUtc()) {
    recorder.CallStarted(start);
    recorder.CallHandled(call);
  }
  std::vector<TLoggedCall> Rows() { return store.Page({}, std::numeric_limits<qint64>::max(), 100); }
  bool WaitForLogged(int count) { return WaitUntil([&] { return int(logged.size()) >= count; }); }

  TCallLogRecorder recorder{store};
  QSignalSpy logged{&recorder, &TCallLogRecorder::CallLogged};
};

TEST_F(RecorderTest, ACallIsWrittenAfterItsHandlingAndUpdatedUntilTheLineIsIdle) {
  const QDateTime start = QDateTime::fromMSecsSinceEpoch(1700000000123, Qt::UTC);
  Process(Call("", "5550100"), start);
  EXPECT_FALSE(QFile::exists(LogFile()));  // nothing written while the call is handled
  ASSERT_TRUE(WaitForLogged(1));
  TLoggedCall late = Call("ANN LATE", "");  // a name that came after the wait
  late.numberDisplayed = "5550100";
  Process(late);
  ASSERT_TRUE(WaitForLogged(2));
  auto rows = Rows();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].startUtc, start);
  EXPECT_EQ(rows[0].utcOffsetSeconds, start.toLocalTime().offsetFromUtc());
  EXPECT_EQ(rows[0].numberReceived, "5550100");
  EXPECT_EQ(rows[0].networkName, "ANN LATE");

  recorder.LineIdle();
  Process(Call("BOB", "5550199"));
  ASSERT_TRUE(WaitForLogged(3));
  rows = Rows();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].networkName, "BOB");
}

TEST_F(RecorderTest, EndingAndForwardingReachTheCallTheyBelongTo) {
  // Both arrive while the first call is being handed on.
  recorder.CallStarted(QDateTime::currentDateTimeUtc());
  recorder.Forwarded({TForwardingKind::kDBusSent, ""});
  recorder.LineIdle(TCallEnding::kMissed, 12);
  recorder.CallHandled(Call("ANN", "1"));
  // The second call's script ends after the call has been handled.
  Process(Call("BOB", "2"));
  recorder.Forwarded({TForwardingKind::kScriptExit, "exit status 1: boom"});
  recorder.LineIdle(TCallEnding::kAnswered, 30);
  ASSERT_TRUE(WaitUntil([&] {
    const auto rows = Rows();
    return rows.size() == 2 && rows[0].ending == TCallEnding::kAnswered;
  }));
  const auto rows = Rows();
  EXPECT_EQ(rows[1].networkName, "ANN");
  EXPECT_EQ(rows[1].forwarding, (TCallForwarding{TForwardingKind::kDBusSent, ""}));
  EXPECT_EQ(rows[1].ending, TCallEnding::kMissed);
  EXPECT_EQ(rows[1].durationSeconds, 12);
  EXPECT_EQ(rows[0].forwarding, (TCallForwarding{TForwardingKind::kScriptExit, "exit status 1: boom"}));
  EXPECT_EQ(rows[0].durationSeconds, 30);
}

TEST_F(RecorderTest, LateOutcomesReachTheCallTheirForwardingWasHandedByNumber) {
  const auto forwardedCall = [this](const char* name, quint64 forwarding) {
    recorder.CallStarted(QDateTime::currentDateTimeUtc());
    recorder.ForwardingStarted(forwarding);
    recorder.CallHandled(Call(name, "1"));
  };
  forwardedCall("ANN", 1);
  recorder.LineIdle();
  forwardedCall("BOB", 2);
  recorder.LineIdle();
  forwardedCall("CY", 3);
  forwardedCall("CY AGAIN", 4);  // the same call processed again
  ASSERT_TRUE(WaitUntil([&] { return Rows().size() == 3; }));
  recorder.Forwarded({TForwardingKind::kScriptExit, "b"}, 2);
  recorder.Forwarded({TForwardingKind::kScriptExit, "a"}, 1);
  recorder.Forwarded({TForwardingKind::kScriptExit, "c"}, 4);
  recorder.Forwarded({TForwardingKind::kScriptExit, "unknown"}, 99);
  ASSERT_TRUE(WaitUntil([&] {
    const auto rows = Rows();
    return rows.size() == 3 && !rows[0].forwarding.detail.isEmpty() &&
           !rows[1].forwarding.detail.isEmpty() && !rows[2].forwarding.detail.isEmpty();
  }));
  QStringList seen;
  for (const TLoggedCall& call : Rows()) seen << call.networkName + "=" + call.forwarding.detail;
  EXPECT_EQ(seen, (QStringList{"CY AGAIN=c", "BOB=b", "ANN=a"}));
}

// Writes to files past `bytes` fail, as on a full disk.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() { Lift(); }
  void Lift() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, previousHandler_);
  }

 private:
  rlimit saved_{};
  void (*previousHandler_)(int) = SIG_DFL;
};

TEST_F(RecorderTest, CallsThatCannotBeWrittenWaitAndAreWrittenInOrderOnceWritingWorks) {
  int told = 0;
  TCallLogReports reports([&told](const QString&) { ++told; });
  store.SetProblemHandler([&](const TStoreProblem& p) {
    problems.push_back(p);
    reports.Problem(p);
  });
  QObject::connect(&recorder, &TCallLogRecorder::WritingResumed, [&] { reports.WritingWorks(); });
  QSignalSpy resumed(&recorder, &TCallLogRecorder::WritingResumed);
  Process(Call("ANN", "1"));
  ASSERT_TRUE(WaitForLogged(1));

  FileSizeLimit full(0);
  for (const char* name : {"BOB", "CY", "DEE"}) {
    recorder.LineIdle();
    Process(Call(name, "2"));
    recorder.Flush();
  }
  EXPECT_EQ(logged.size(), 1);
  ASSERT_GE(problems.size(), 3u);
  EXPECT_EQ(problems.back().kind, TStoreProblem::Kind::kUnwritable);
  EXPECT_EQ(told, 1);  // one message for the whole outage

  full.Lift();
  recorder.SetRetryInterval(10);
  recorder.Flush();
  ASSERT_TRUE(WaitForLogged(4));
  EXPECT_EQ(resumed.size(), 1);
  std::vector<QString> names;
  for (const TLoggedCall& call : Rows()) names.push_back(call.networkName);
  EXPECT_EQ(names, (std::vector<QString>{"DEE", "CY", "BOB", "ANN"}));
  EXPECT_EQ(QueryFile(LogFile(), "PRAGMA integrity_check").toString(), "ok");

  // A new outage is news again.
  FileSizeLimit again(0);
  recorder.LineIdle();
  Process(Call("EVE", "3"));
  recorder.Flush();
  EXPECT_EQ(told, 2);
}

TEST_F(CallLogFixture, RetentionRunsAfterTheStartAndKeepsTheDaysAndTheCap) {
  const int day = 24 * 60;
  Fill({Call("old", "1", 40 * day), Call("a", "2", 3), Call("b", "3", 2), Call("c", "4", 1)});
  int days = 30;
  TCallLogRetention retention(store, [&days] { return days; });
  retention.SetMaxCalls(2);
  QSignalSpy done(&retention, &TCallLogRetention::Done);
  QSignalSpy pruned(&retention, &TCallLogRetention::Pruned);
  retention.Start();
  EXPECT_EQ(Names({}).size(), 4u);  // not during the start itself
  ASSERT_TRUE(done.wait(30000));
  EXPECT_EQ(Names({}), (std::vector<QString>{"c", "b"}));
  EXPECT_GE(pruned.size(), 1);
}

TEST(CallLogReports, EachKindOfProblemIsToldAsOftenAsItIsNews) {
  QStringList told;
  TCallLogReports reports([&told](const QString& text) { told << text; });
  using Kind = TStoreProblem::Kind;
  for (int i = 0; i < 2; ++i) {
    reports.Problem({Kind::kDamaged, QString("/x/calls.sqlite.damaged-%1").arg(i)});
    reports.Problem({Kind::kUnwritable, "disk full"});
    reports.Problem({Kind::kTooNew, "/x/calls.sqlite"});
    reports.Problem({Kind::kNoDriver, "QSQLITE"});
  }
  ASSERT_EQ(told.size(), 5);
  EXPECT_TRUE(told[0].contains("/x/calls.sqlite.damaged-0"));
  EXPECT_TRUE(told[1].contains("disk full"));
  EXPECT_TRUE(told[4].contains("/x/calls.sqlite.damaged-1"));
  reports.WritingWorks();
  reports.Problem({Kind::kUnwritable, "read-only file system"});
  EXPECT_EQ(told.size(), 6);
}

}  // namespace
