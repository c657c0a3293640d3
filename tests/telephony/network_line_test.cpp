// Network lines through the line monitor against fakeserver on a local
// port: opening without waiting for the network, the NCID start-up, calls
// and how they ended, garbage, silence, and a server that goes away and
// comes back.
#include <memory>
#include <ostream>

#include "monitor_fixture.h"
#include "wait_until.h"

namespace {

class NetworkLineTest : public LineMonitorTest {
 protected:
  // Starts recording CallEnded's outcomes into outcomes_.
  void RecordOutcomes(TLineMonitor& monitor) {
    QObject::connect(&monitor, &TLineMonitor::CallEnded, [this](QObject*, TCallOutcome outcome) {
      const char* names[] = {"unknown", "answered", "missed"};
      outcomes_ << names[static_cast<int>(outcome)];
    });
  }

  static bool WaitForState(const TLineMonitor& monitor, const QString& state) {
    return WaitUntil([&] { return monitor.LineState() == state; });
  }

  static std::unique_ptr<TFakeServerProcess> StartServer(const QString& kind, const QStringList& options = {}) {
    auto server = std::make_unique<TFakeServerProcess>(kind, options);
    EXPECT_TRUE(server->Started());
    return server;
  }

  // Opens the line to `server` and waits until it is connected.
  void Connect(TLineMonitor& monitor, const TFakeServerProcess& server) {
    OpenLine(monitor, server.Url());
    ASSERT_TRUE(WaitForState(monitor, "connected"));
  }

  QStringList outcomes_;
};

TEST_F(NetworkLineTest, NcidCallsEndAsTheServerSays) {
  auto server = StartServer("ncid", {"--rings", "0", "--cadence", "0.2"});
  TTestMonitor monitor(LongCallTimings());
  TEventRecorder recorder(monitor);
  RecordOutcomes(monitor);
  Connect(monitor, *server);

  server->Command("call 2125550101 ALICE BROWN");
  ASSERT_TRUE(recorder.WaitFor("id |ALICE BROWN|4"));
  server->Command("answer");
  ASSERT_TRUE(recorder.WaitFor("state IDLE"));
  server->Command("call-private");
  ASSERT_TRUE(recorder.WaitFor("id |PRIVATE|4"));
  server->Command("hangup");
  ASSERT_TRUE(recorder.WaitFor("state IDLE", 2));
  EXPECT_EQ(recorder.events, (QStringList{"state OFFERING", "id 2125550101||8", "id |ALICE BROWN|4", "state IDLE",
                                          "state OFFERING", "id ||1", "id |PRIVATE|4", "state IDLE"}));
  EXPECT_EQ(outcomes_, (QStringList{"answered", "missed"}));
}

struct TServerVariant {
  const char* label;
  QStringList options;
  const char* host;
  bool greeted;
};

void PrintTo(const TServerVariant& variant, std::ostream* out) { *out << variant.label; }

class NcidServerVariants : public NetworkLineTest, public ::testing::WithParamInterface<TServerVariant> {};

TEST_P(NcidServerVariants, AreGreetedAndDeliverCallsButNotTheirLog) {
  const TServerVariant& variant = GetParam();
  auto server = StartServer("ncid", variant.options + QStringList{"--cadence", "0.05", "--call-log", "3"});
  TTestMonitor monitor;
  TEventRecorder recorder(monitor);
  OpenLine(monitor, server->Url(variant.host));
  ASSERT_FALSE(server->WaitForOutput("connected").isEmpty());
  if (variant.greeted) {
    EXPECT_FALSE(server->WaitForOutput("got HELLO: IDENT: client quorvel ").isEmpty());
    EXPECT_FALSE(server->WaitForOutput("got HELLO: CMD: no_log").isEmpty());
  }
  server->Command("call 5550100 NEW CALLER");
  ASSERT_TRUE(recorder.WaitFor("state IDLE"));
  EXPECT_EQ(recorder.events, (QStringList{"state OFFERING", "id 5550100||8", "id |NEW CALLER|4", "state IDLE"}));
  EXPECT_EQ(server->Received("HELLO: CMD: no_log"), variant.greeted);
}

INSTANTIATE_TEST_SUITE_P(
    Servers, NcidServerVariants,
    ::testing::Values(TServerVariant{"CurrentServer", {}, "127.0.0.1", true},
                      TServerVariant{"VeryOldServer", {"--old-server"}, "127.0.0.1", false},
                      TServerVariant{"OlderApiLine", {"--api-without-colon"}, "127.0.0.1", true},
                      TServerVariant{"NewerFieldsOverIpv6", {"--extra-fields", "--bind", "::1"}, "[::1]", true}),
    [](const ::testing::TestParamInfo<TServerVariant>& info) { return std::string(info.param.label); });

TEST_F(NetworkLineTest, ServerThatGoesAwayIsConnectedToAgainWhenItIsBack) {
  auto server = StartServer("ncid", {"--cadence", "0.05"});
  server->Command("stop");
  ASSERT_FALSE(server->WaitForOutput("stopped").isEmpty());

  // Opening does not wait for the server, nor fail without it.
  TTestMonitor monitor;
  TEventRecorder recorder(monitor);
  EXPECT_EQ(OpenFailure(monitor, server->Url()), "");
  EXPECT_TRUE(monitor.LineOpen());
  EXPECT_TRUE(WaitForState(monitor, "Connection refused, retrying")) << monitor.LineState().toStdString();
  server->Command("start");
  ASSERT_TRUE(WaitForState(monitor, "connected"));
  server->Command("call 5550001 FIRST");
  ASSERT_TRUE(recorder.WaitFor("id |FIRST|4"));

  // The server restarts in mid-session.
  server->Command("stop");
  EXPECT_TRUE(WaitForState(monitor, "Connection refused, retrying")) << monitor.LineState().toStdString();
  server->Command("start");
  ASSERT_TRUE(WaitForState(monitor, "connected"));
  EXPECT_FALSE(server->WaitForOutput("got HELLO: CMD: no_log").isEmpty()) << "greeted again";
  server->Command("call 5550002 SECOND");
  EXPECT_TRUE(recorder.WaitFor("id |SECOND|4"));
  EXPECT_TRUE(monitor.LineOpen());

  monitor.SetLineOpen(false);
  EXPECT_EQ(monitor.LineState(), "closed");
  EXPECT_FALSE(server->WaitForOutput("closed 0").isEmpty());
}

TEST_F(NetworkLineTest, GarbageNeverEndsTheConnection) {
  auto server = StartServer("ncid", {"--cadence", "0.05"});
  TTestMonitor monitor;
  TEventRecorder recorder(monitor);
  Connect(monitor, *server);
  server->Command("garbage 100000");
  server->Command(R"(send \n\x00\xff\xfe CID: *NMBR*\n*****\nCIDINFO: *RING*-9999999999999*\nEND:\n)");
  server->Command("call 5550003 AFTER GARBAGE");
  ASSERT_TRUE(recorder.WaitFor("id |AFTER GARBAGE|4"));
  EXPECT_FALSE(server->Output().contains("closed 0"));
  EXPECT_EQ(monitor.LineState(), "connected");
}

TEST_F(NetworkLineTest, QuietConnectionIsKeptAliveAndASilentServerReconnected) {
  auto server = StartServer("ncid");
  TLineTimings timings = TestTimings();
  timings.keepAliveMs = 300;
  timings.keepAliveMarginMs = 300;
  TTestMonitor monitor(timings);
  OpenLine(monitor, server->Url());
  ASSERT_FALSE(server->WaitForOutput("connected 1").isEmpty());
  EXPECT_FALSE(server->WaitForOutput("keepalive").isEmpty());
  // The server never answers a keep-alive: the line takes it for gone.
  EXPECT_FALSE(server->WaitForOutput("closed 0").isEmpty());
  EXPECT_FALSE(server->WaitForOutput("connected 1").isEmpty());
}

TEST_F(NetworkLineTest, FritzBoxCallsEndAnsweredOrMissedEachByItsId) {
  auto server = StartServer("fritzbox", {"--rings", "0"});
  TTestMonitor monitor(LongCallTimings());
  TEventRecorder recorder(monitor);
  RecordOutcomes(monitor);
  Connect(monitor, *server);
  server->Command("call 2125550101");
  ASSERT_TRUE(recorder.WaitFor("id 2125550101||8"));
  server->Command("answer");
  ASSERT_TRUE(recorder.WaitFor("state IDLE"));
  server->Command("hangup");
  // A second call rings while a third comes in; the third is followed.
  server->Command("call-private");
  ASSERT_TRUE(recorder.WaitFor("id ||1"));
  server->Command("call 5550003");
  ASSERT_TRUE(recorder.WaitFor("id 5550003||8"));
  server->Command("hangup");
  ASSERT_TRUE(recorder.WaitFor("state IDLE", 3));
  EXPECT_EQ(recorder.events, (QStringList{"state OFFERING", "id 2125550101||8", "state IDLE", "state OFFERING",
                                          "id ||1", "state IDLE", "state OFFERING", "id 5550003||8", "state IDLE"}));
  EXPECT_EQ(outcomes_, (QStringList{"answered", "unknown", "missed"}));
}

TEST_F(NetworkLineTest, FritzBoxRingWithoutEndStillEnds) {
  auto server = StartServer("fritzbox");
  TLineTimings timings = TestTimings();
  timings.callEndWaitMs = 200;
  TTestMonitor monitor(timings);
  TEventRecorder recorder(monitor);
  Connect(monitor, *server);
  server->Command("raw 08.12.26 10:15:02;RING;7;5550007;5551234;SIP0;");
  EXPECT_TRUE(recorder.WaitFor("state IDLE"));
}

TEST_F(NetworkLineTest, ServersAreOfferedAsNamedAndBadNamesSayWhy) {
  ConfigureLines({"ncid://192.0.2.1", "fritzbox://[::1]:1012", "ncid://bad host", "fritzbox://192.0.2.1:1012"});
  TTestMonitor monitor;
  QStringList offered;
  for (int i = 0; i < monitor.LineCount(); ++i) {
    monitor.SetLineName(monitor.GetLineName(i));
    if (monitor.LineCapability() > 0) offered << monitor.LineName();
  }
  EXPECT_EQ(offered, (QStringList{"ncid://192.0.2.1", "fritzbox://[::1]:1012", "fritzbox://192.0.2.1:1012"}));
  EXPECT_TRUE(monitor.UnofferedLines().contains("ncid://bad host: Not a valid host name or address: bad host"));
  EXPECT_EQ(OpenFailure(monitor, "ncid://bad host"), "Not a valid host name or address: bad host");
  EXPECT_FALSE(monitor.LineOpen());
}

}  // namespace
