#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <csignal>
#include <optional>

#include "action_fixture.h"

namespace {

class DdeAction : public ActionFixture {
 protected:
  DdeAction() {
    profile_.DdeLink = true;
    profile_.Application = busName_;
    profile_.Topic = QStringLiteral("Calls");
  }

  // A dde-receiver owning the profile's bus name for this test.
  TReceiverProcess& Receiver() {
    receiver_.emplace(busName_);
    EXPECT_TRUE(receiver_->Start());
    return *receiver_;
  }

  QString busName_ = UniqueBusName("Action");
  std::optional<TReceiverProcess> receiver_;
};

TEST_F(DdeAction, PokesThenExecutesTheCommandLinesInOrderEachFollowedByItsWait) {
  TReceiverProcess& receiver = Receiver();
  profile_.PokeData = QStringLiteral("@CIN");
  profile_.PokeLocation = QStringLiteral("CallerName");
  SetCommands({QStringLiteral("open @CID"),
                       QStringLiteral("; comment @CID"),
                       QString(),
                       QStringLiteral("@nothing here"),
                       QStringLiteral("   ; indented, no placeholder"),
                       QStringLiteral("   ; indented @CID"),
                       QStringLiteral("  last  ")});
  // Each wait must come after its own call was sent and before the next.
  std::vector<std::size_t> receivedAtWait;
  onWait_ = [&](int) { receivedAtWait.push_back(receiver.WaitForCalls(receivedAtWait.size() + 1).size()); };

  Run();

  const std::vector<TReceivedCall> expected{
      {"Poke", {"Calls", "CallerName", "Jane Doe"}},
      {"Execute", {"Calls", "open 555-123-4567"}},
      {"Execute", {"Calls", "   ; indented, no placeholder"}},
      {"Execute", {"Calls", "  last  "}}};
  EXPECT_EQ(receiver.WaitForCalls(expected.size()), expected);
  EXPECT_EQ(waits_, (std::vector<int>{300, 300, 300, 300}));
  EXPECT_EQ(receivedAtWait, (std::vector<std::size_t>{1, 2, 3, 4}));
  EXPECT_FALSE(conversation_.IsOpen());
  EXPECT_TRUE(boxes_.seen().empty());
  ASSERT_EQ(outcomes_.size(), 1u);
  EXPECT_EQ(outcomes_[0].What, TForwardingOutcome::Kind::DBusSent);
  EXPECT_EQ(outcomes_[0].Detail, busName_.toStdString());
  EXPECT_EQ(outcomes_[0].Status, 4);
  EXPECT_EQ(outcomes_[0].CallerName, "Jane Doe");
}

struct PokeCase {
  const char* name;
  QString data, location;
};

void PrintTo(const PokeCase& c, std::ostream* out) { *out << c.name; }

class DdePokeSkipped : public DdeAction, public testing::WithParamInterface<PokeCase> {};

TEST_P(DdePokeSkipped, WithoutDataOrLocationNothingIsPokedAndNoWaitTaken) {
  TReceiverProcess& receiver = Receiver();
  profile_.PokeData = GetParam().data;
  profile_.PokeLocation = GetParam().location;
  SetCommands({QStringLiteral("end")});
  RunDde();
  const std::vector<TReceivedCall> expected{{"Execute", {"Calls", "end"}}};
  EXPECT_EQ(receiver.WaitForCalls(1), expected);  // the poke would have come first
  EXPECT_EQ(waits_, std::vector<int>{300});
}

INSTANTIATE_TEST_SUITE_P(Rows, DdePokeSkipped,
                         testing::Values(PokeCase{"NoData", "", "Field"},
                                         PokeCase{"DataExpandsToNothing", "  @nokey ", "Field"},
                                         PokeCase{"NoLocation", "@CIN", ""}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DdeAction, WithoutAnOwnerTheActionEndsSilently) {
  SetCommands({QStringLiteral("cmd")});
  RunDde();
  profile_.StartExe = true;  // but no EXE Path: nothing to start
  RunDde();
  EXPECT_TRUE(waits_.empty());
  EXPECT_TRUE(boxes_.seen().empty());
  EXPECT_FALSE(conversation_.IsOpen());
  ASSERT_EQ(outcomes_.size(), 2u);
  for (const TForwardingOutcome& o : outcomes_) {
    EXPECT_EQ(o.What, TForwardingOutcome::Kind::DBusNotOpen);
    EXPECT_EQ(o.Detail, busName_.toStdString());
    EXPECT_TRUE(o.Failed());
  }
}

TEST_F(DdeAction, ExePathThatCannotStartIsReportedWithItsReason) {
  profile_.StartExe = true;
  profile_.ExePath = InFolder("missing-program");
  SetCommands({QStringLiteral("cmd")});
  RunDde();
  profile_.ExePath = folder_.path();  // a folder: a start error without a reason text
  RunDde();

  ASSERT_EQ(boxes_.seen().size(), 2u);
  EXPECT_EQ(boxes_.seen()[0].caption, "Error");
  EXPECT_EQ(boxes_.seen()[0].text,
            "Can not start " + InFolder("missing-program") + "\nPath or file name not found");
  EXPECT_EQ(boxes_.seen()[0].icon, QMessageBox::NoIcon);
  EXPECT_EQ(boxes_.seen()[0].buttons, QStringList{"OK"});
  EXPECT_EQ(boxes_.seen()[1].text, "Can not start " + folder_.path() + "\n");
  EXPECT_TRUE(waits_.empty());  // no wait and no second try
  ASSERT_EQ(outcomes_.size(), 2u);
  EXPECT_EQ(outcomes_[0].What, TForwardingOutcome::Kind::ProgramNotStarted);
  EXPECT_EQ(outcomes_[0].Detail,
            InFolder("missing-program").toStdString() + ": Path or file name not found");
  EXPECT_EQ(outcomes_[1].Detail, folder_.path().toStdString() + ": Permission denied");
}

struct StartArgumentCase {
  const char* name;
  QString dbPath;
  QString recorded;
};

void PrintTo(const StartArgumentCase& c, std::ostream* out) { *out << c.name; }

class DdeStartArguments : public DdeAction, public testing::WithParamInterface<StartArgumentCase> {};

TEST_P(DdeStartArguments, TheProgramGetsTheDbPathAsItsOneArgument) {
  const QString record = InFolder("args");
  ASSERT_TRUE(WriteProgram(
      InFolder("target"),
      QStringLiteral("#!/bin/sh\necho \"$#:$*\" > '%1.tmp' && mv '%1.tmp' '%1'\n").arg(record).toUtf8()));
  profile_.StartExe = true;
  profile_.ExePath = InFolder("target");
  profile_.DBPath = GetParam().dbPath;

  RunDde();

  ASSERT_TRUE(WaitUntil([&] { return QFile::exists(record); }));
  EXPECT_EQ(ReadFileText(record), GetParam().recorded);
  EXPECT_EQ(waits_, std::vector<int>{1500});  // it never opened a conversation
  EXPECT_TRUE(boxes_.seen().empty());
  ASSERT_EQ(outcomes_.size(), 2u);
  EXPECT_EQ(outcomes_[0].What, TForwardingOutcome::Kind::ProgramStarted);
  EXPECT_EQ(outcomes_[0].Detail, InFolder("target").toStdString());
  EXPECT_EQ(outcomes_[1].What, TForwardingOutcome::Kind::DBusNotOpen);
}

INSTANTIATE_TEST_SUITE_P(Rows, DdeStartArguments,
                         testing::Values(StartArgumentCase{"NoDbPath", "", "0:\n"},
                                         StartArgumentCase{"DbPathWithBlanks", "/my data/calls.db",
                                                           "1:/my data/calls.db\n"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DdeAction, StartIfNotRunningLaunchesTheExePathProgramThenTalksToIt) {
  // dde-receiver itself is the target program, found along PATH and told its
  // bus name through the DB Path. It writes to our standard output.
  TScopedEnv path("PATH", QFileInfo(DdeReceiverPath()).absolutePath().toUtf8() + ":/usr/bin:/bin");
  profile_.StartExe = true;
  profile_.ExePath = QStringLiteral("dde-receiver");
  profile_.DBPath = busName_;
  profile_.PokeData = QStringLiteral("@CID");
  profile_.PokeLocation = QStringLiteral("Number");
  SetCommands({QStringLiteral("show @CIN")});
  // The fixed wait normally suffices; on a loaded machine the test allows
  // the started program more time to take its name.
  onWait_ = [&](int ms) {
    if (ms == kStartedProgramWaitMs) WaitUntil([&] { return BusNameOwned(busName_); });
  };
  const QString output = InFolder("receiver.out");
  {
    TStdoutToFile capture(output);
    RunDde();
  }
  const quint32 pid = BusNameOwnerPid(busName_);
  const std::vector<TReceivedCall> expected{{"Poke", {"Calls", "Number", "555-123-4567"}},
                                            {"Execute", {"Calls", "show Jane Doe"}}};
  EXPECT_TRUE(WaitUntil([&] { return ParseReceiverOutput(ReadFileText(output)).size() >= 2; }));
  EXPECT_EQ(ParseReceiverOutput(ReadFileText(output)), expected);
  EXPECT_EQ(waits_, (std::vector<int>{1500, 300, 300}));

  ASSERT_GT(pid, 0u);
  kill(static_cast<pid_t>(pid), SIGTERM);
  EXPECT_TRUE(WaitUntil([&] { return !BusNameOwned(busName_); }));
}

TEST_F(DdeAction, AnOwnerThatNeverReadsDoesNotHoldTheActionUp) {
  TReceiverProcess& receiver = Receiver();
  kill(static_cast<pid_t>(receiver.Pid()), SIGSTOP);
  profile_.PokeData = QStringLiteral("@CIN");
  profile_.PokeLocation = QStringLiteral("Name");
  SetCommands({QStringLiteral("one"), QStringLiteral("two")});

  QElapsedTimer clock;
  clock.start();
  RunDde();
  const qint64 elapsed = clock.elapsed();
  kill(static_cast<pid_t>(receiver.Pid()), SIGCONT);

  // Three fixed waits of 0.3 s; waiting for answers would take 25 s each.
  EXPECT_LT(elapsed, 20000);
  EXPECT_EQ(waits_, (std::vector<int>{300, 300, 300}));
  // Nothing was lost: the stopped receiver reads everything once resumed.
  const std::vector<TReceivedCall> expected{{"Poke", {"Calls", "Name", "Jane Doe"}},
                                            {"Execute", {"Calls", "one"}},
                                            {"Execute", {"Calls", "two"}}};
  EXPECT_EQ(receiver.WaitForCalls(3), expected);
}

TEST_F(DdeAction, CallerDataIsFixedAtTheStartAndNeverAddsACommandLine) {
  TReceiverProcess& receiver = Receiver();
  name_ = "x\"; touch pwned; \"\r\nquit";
  SetCommands({QStringLiteral("say @CIN"), QStringLiteral("b @CIN @CID"), QStringLiteral("end")});
  onWait_ = [&](int) { name_ = number_ = "NO DATA"; };  // the line went idle meanwhile
  RunDde();
  const std::vector<TReceivedCall> expected{
      {"Execute", {"Calls", "say x\"; touch pwned; \"quit"}},
      {"Execute", {"Calls", "b x\"; touch pwned; \"quit 555-123-4567"}},
      {"Execute", {"Calls", "end"}}};
  EXPECT_EQ(receiver.WaitForCalls(3), expected);
}

}  // namespace
