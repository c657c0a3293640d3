#include "platform/dde_client_conv.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "platform/dbus_names.h"
#include "remote_test_support.h"

namespace {

struct BusNameCase {
  const char* name;
  QString busName;
  bool valid;
};

void PrintTo(const BusNameCase& c, std::ostream* out) { *out << c.name; }

class BusNames : public testing::TestWithParam<BusNameCase> {};

TEST_P(BusNames, FollowTheBusRules) {
  EXPECT_EQ(platform::IsValidBusName(GetParam().busName), GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, BusNames,
    testing::Values(BusNameCase{"WellKnown", "org.example.App", true},
                    BusNameCase{"DashAndUnderscore", "org.my-app.App_2", true},
                    BusNameCase{"Unique", ":1.42", true},
                    BusNameCase{"Empty", "", false},
                    BusNameCase{"OneElement", "Excel", false},
                    BusNameCase{"EmptyElement", "org..App", false},
                    BusNameCase{"LeadingDot", ".org.App", false},
                    BusNameCase{"TrailingDot", "org.App.", false},
                    BusNameCase{"ElementStartsWithDigit", "org.1App", false},
                    BusNameCase{"Blank", "org.my app", false},
                    BusNameCase{"NonAscii", QString::fromUtf8("org.\xC3\xA4pp"), false},
                    BusNameCase{"PathLike", "/usr/bin/app", false},
                    BusNameCase{"TooLong", "org." + QString(252, QLatin1Char('a')), false},
                    BusNameCase{"LongestAllowed", "org." + QString(251, QLatin1Char('a')), true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DdeClientConv, NeverOpensWithoutAnOwnerOrWithAnUnusableTarget) {
  platform::TDdeClientConv conversation;
  EXPECT_FALSE(conversation.OpenLink());  // nothing recorded yet
  for (const QString& service :
       {UniqueBusName("Nobody"), QStringLiteral("not a bus name"), QStringLiteral("org..x"),
        QString(), QString(300, QLatin1Char('a'))}) {
    conversation.SetLink(service, QStringLiteral("topic"));
    EXPECT_FALSE(conversation.OpenLink()) << service.toStdString();
    EXPECT_FALSE(conversation.PokeData("item", "data"));
    EXPECT_FALSE(conversation.ExecuteMacro("command"));
  }
}

TEST(DdeClientConv, SendsPokeAndExecuteInOrderWithTheTopic) {
  const QString busName = UniqueBusName("Order");
  TReceiverProcess receiver(busName);
  ASSERT_TRUE(receiver.Start());

  platform::TDdeClientConv conversation;
  conversation.SetLink(busName, QStringLiteral("The Topic"));
  ASSERT_TRUE(conversation.OpenLink());
  const QString unicode = QString::fromUtf8("J\xC3\xBCrgen \"\\\" \xE2\x82\xAC\t\n\x01");
  EXPECT_TRUE(conversation.PokeData("Field", unicode));
  for (int i = 0; i < 20; ++i) EXPECT_TRUE(conversation.ExecuteMacro(QStringLiteral("cmd %1").arg(i)));

  std::vector<TReceivedCall> expected{{"Poke", {"The Topic", "Field", unicode}}};
  for (int i = 0; i < 20; ++i) expected.push_back({"Execute", {"The Topic", QStringLiteral("cmd %1").arg(i)}});
  EXPECT_EQ(receiver.WaitForCalls(expected.size()), expected);
}

TEST(DdeClientConv, CloseForgetsAndANewTargetClosesTheOldConversation) {
  const QString busName = UniqueBusName("Close");
  TReceiverProcess receiver(busName);
  ASSERT_TRUE(receiver.Start());

  platform::TDdeClientConv conversation;
  conversation.SetLink(busName, QStringLiteral("t"));
  ASSERT_TRUE(conversation.OpenLink());
  conversation.CloseLink();
  EXPECT_FALSE(conversation.IsOpen());
  EXPECT_FALSE(conversation.ExecuteMacro(QStringLiteral("after close")));
  EXPECT_EQ(conversation.DdeService(), busName);  // the target stays recorded

  ASSERT_TRUE(conversation.OpenLink());
  conversation.SetLink(UniqueBusName("Other"), QStringLiteral("t"));
  EXPECT_FALSE(conversation.IsOpen());
  EXPECT_FALSE(conversation.ExecuteMacro(QStringLiteral("after new target")));

  conversation.SetLink(busName, QStringLiteral("t"));
  ASSERT_TRUE(conversation.OpenLink());
  EXPECT_TRUE(conversation.ExecuteMacro(QStringLiteral("marker")));
  // Only the marker arrives: nothing was sent while closed.
  const std::vector<TReceivedCall> expected{{"Execute", {"t", "marker"}}};
  EXPECT_EQ(receiver.WaitForCalls(1), expected);
}

TEST(DdeClientConv, OpenLaunchesServiceWithTopicWhenNobodyOwnsTheName) {
  // A program named like the service, found along PATH, records how it was
  // started.
  QTemporaryDir dir;
  const QString service = UniqueBusName("Launch");
  const QString record = dir.filePath("launched");
  ASSERT_TRUE(WriteProgram(
      dir.filePath(service),
      QStringLiteral("#!/bin/sh\nprintf '%s|' \"$@\" > '%1.tmp' && mv '%1.tmp' '%1'\n").arg(record).toUtf8()));
  TScopedEnv path("PATH", dir.path().toUtf8() + ":/usr/bin:/bin");

  platform::TDdeClientConv conversation;
  conversation.SetLink(service, QStringLiteral("alpha beta"));
  EXPECT_FALSE(conversation.OpenLink());  // the launched program owns no name
  ASSERT_TRUE(WaitUntil([&] { return QFile::exists(record); }));
  EXPECT_EQ(ReadFileText(record), "alpha|beta|");
}

}  // namespace

namespace {

TEST(DdeClientConv, AStalledBusCountsAsNotOpenAndNeverStopsTheEventLoop) {
  TPrivateBus bus;
  ASSERT_TRUE(bus.Ready());
  const QString busName = UniqueBusName("Stalled");
  TReceiverProcess receiver(busName, bus.Address());
  ASSERT_TRUE(receiver.Start());
  platform::TDdeClientConv conversation(bus.Connection());
  conversation.SetLink(busName, QStringLiteral("t"));
  ASSERT_TRUE(conversation.OpenLink());

  bus.Stop();
  const TLoopStallMeter meter;
  QElapsedTimer clock;
  clock.start();
  EXPECT_FALSE(conversation.OpenLink());
  // The bound, not the bus's own 25 s; the loop kept running meanwhile.
  EXPECT_LT(clock.elapsed(), 10000);
  EXPECT_LT(meter.LongestStallMs(), 2000);

  bus.Resume();
  EXPECT_TRUE(conversation.OpenLink());
}

}  // namespace
