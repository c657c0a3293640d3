#include "telephony/call_tracker.h"

#include <gtest/gtest.h>

namespace {

TModemLine Line(TModemLine::Kind kind, const QString& value = QString()) { return {kind, value}; }

TCallEvent State(const char* state) {
  TCallEvent e;
  e.kind = TCallEvent::Kind::kCallState;
  e.state = state;
  return e;
}

TCallEvent Id(const QString& number, const QString& name, int flags) {
  TCallEvent e;
  e.kind = TCallEvent::Kind::kCallerId;
  e.number = number;
  e.name = name;
  e.flags = flags;
  return e;
}

using Events = std::vector<TCallEvent>;
using Kind = TModemLine::Kind;

}  // namespace

TEST(CallTracker, OnlyTheFirstRingOfACallOffersIt) {
  TCallTracker tracker;
  EXPECT_EQ(tracker.HandleLine(Line(Kind::kRing)).events, Events{State("OFFERING")});
  EXPECT_TRUE(tracker.HandleLine(Line(Kind::kRing)).events.empty());
  EXPECT_TRUE(tracker.HandleLine(Line(Kind::kRing)).events.empty());
  EXPECT_EQ(tracker.RingTimeoutExpired(), Events{State("IDLE")});
  // The next call is offered again.
  EXPECT_EQ(tracker.HandleLine(Line(Kind::kRing)).events, Events{State("OFFERING")});
}

TEST(CallTracker, NumberAndNameEvents) {
  TCallTracker tracker;
  EXPECT_EQ(tracker.HandleLine(Line(Kind::kNumber, "5551234")).events, Events{Id("5551234", "", 0x8)});
  EXPECT_EQ(tracker.HandleLine(Line(Kind::kName, "JOHN")).events, Events{Id("", "JOHN", 0x4)});
}

TEST(CallTracker, WithheldAndUnavailableNumbers) {
  TCallTracker tracker;
  EXPECT_EQ(tracker.HandleLine(Line(Kind::kNumber, "P")).events, Events{Id("", "", 0x1)});
  EXPECT_EQ(tracker.HandleLine(Line(Kind::kNumber, "O")).events, Events{Id("", "", 0x2)});
  EXPECT_TRUE(tracker.HandleLine(Line(Kind::kName, "P")).events.empty());
  EXPECT_TRUE(tracker.HandleLine(Line(Kind::kName, "O")).events.empty());
}

TEST(CallTracker, EmptyNumberOrNameGivesNoEventButKeepsTheCallAlive) {
  TCallTracker tracker;
  TCallTracker::TResult number = tracker.HandleLine(Line(Kind::kNumber, ""));
  EXPECT_TRUE(number.events.empty());
  EXPECT_TRUE(number.restartRingTimer);
  EXPECT_TRUE(tracker.HandleLine(Line(Kind::kName, "")).events.empty());
  EXPECT_TRUE(tracker.InCall());
}

TEST(CallTracker, CallerIdBeforeTheFirstRingStartsTheCall) {
  TCallTracker tracker;
  EXPECT_EQ(tracker.HandleLine(Line(Kind::kNumber, "0123")).events, Events{Id("0123", "", 0x8)});
  EXPECT_TRUE(tracker.InCall());
  EXPECT_EQ(tracker.HandleLine(Line(Kind::kRing)).events, Events{State("OFFERING")});
  EXPECT_EQ(tracker.RingTimeoutExpired(), Events{State("IDLE")});
}

TEST(CallTracker, DateTimeAndMessageOnlyKeepTheCallAlive) {
  TCallTracker tracker;
  TCallTracker::TResult result = tracker.HandleLine(Line(Kind::kOtherCallerId));
  EXPECT_TRUE(result.events.empty());
  EXPECT_TRUE(result.restartRingTimer);
  EXPECT_EQ(tracker.RingTimeoutExpired(), Events{State("IDLE")});
}

TEST(CallTracker, OtherLinesNeitherStartACallNorDelayItsEnd) {
  TCallTracker tracker;
  TCallTracker::TResult result = tracker.HandleLine(Line(Kind::kOther));
  EXPECT_FALSE(result.restartRingTimer);
  EXPECT_FALSE(tracker.InCall());
  tracker.HandleLine(Line(Kind::kRing));
  EXPECT_FALSE(tracker.HandleLine(Line(Kind::kOther)).restartRingTimer);
}

TEST(CallTracker, RingsAndCallerIdRestartTheRingTimer) {
  TCallTracker tracker;
  EXPECT_TRUE(tracker.HandleLine(Line(Kind::kRing)).restartRingTimer);
  EXPECT_TRUE(tracker.HandleLine(Line(Kind::kRing)).restartRingTimer);
  EXPECT_TRUE(tracker.HandleLine(Line(Kind::kName, "X")).restartRingTimer);
}

TEST(CallTracker, TimeoutWithoutACallOrAfterResetSaysNothing) {
  TCallTracker tracker;
  EXPECT_TRUE(tracker.RingTimeoutExpired().empty());
  tracker.HandleLine(Line(Kind::kRing));
  tracker.Reset();
  EXPECT_TRUE(tracker.RingTimeoutExpired().empty());
  // Only one IDLE per call.
  tracker.HandleLine(Line(Kind::kRing));
  EXPECT_EQ(tracker.RingTimeoutExpired().size(), 1u);
  EXPECT_TRUE(tracker.RingTimeoutExpired().empty());
}

TEST(RingTimeoutSetting, SecondsWithFractionsWithinBounds) {
  EXPECT_EQ(RingTimeoutMsFromSetting("8"), 8000);
  EXPECT_EQ(RingTimeoutMsFromSetting(" 0.5 "), 500);
  EXPECT_EQ(RingTimeoutMsFromSetting("0.001"), 100);
  EXPECT_EQ(RingTimeoutMsFromSetting("1e12"), 3600 * 1000);
}

TEST(RingTimeoutSetting, MissingOrNonsenseGivesTheDefault) {
  for (const char* text : {"", "abc", "0", "-3", "nan", "inf", "5s"}) {
    EXPECT_EQ(RingTimeoutMsFromSetting(text), TCallTracker::kDefaultRingTimeoutMs) << text;
  }
}
