#include "telephony/call_tracker.h"

#include <QStringList>
#include <ostream>
#include <gtest/gtest.h>

#include "event_text.h"
#include "telephony/caller_id_parser.h"

namespace {

// Runs a script through the modem parser and the tracker: modem lines, plus
// "<timeout>" (the ring timeout passes), "<answered>" and "<ended>" (what a
// network line would say). Returns the events as text, "state OFFERING",
// "id <number>|<name>|<flags>", "state IDLE <outcome>".
QStringList RunScript(TCallTracker& tracker, const QStringList& script) {
  QStringList events;
  for (const QString& step : script) {
    TCallTracker::TResult result;
    if (step == "<timeout>") {
      result = tracker.RingTimeoutExpired();
    } else if (step == "<answered>") {
      result = tracker.Handle({TLineNotice::Kind::kAnswered, {}, {}});
    } else if (step == "<ended>") {
      result = tracker.Handle({TLineNotice::Kind::kEnded, {}, {}});
    } else {
      result = tracker.Handle(ParseModemLine(step.toUtf8()));
    }
    events << EventTexts(result.events);
  }
  return events;
}

struct TScript {
  const char* label;
  QStringList steps;
  QStringList events;
};

void PrintTo(const TScript& script, std::ostream* out) { *out << script.label; }

class CallTracking : public ::testing::TestWithParam<TScript> {};

TEST_P(CallTracking, GivesTheEventsOfTheCalls) {
  TCallTracker tracker;
  EXPECT_EQ(RunScript(tracker, GetParam().steps), GetParam().events);
}

const QString kIdle = "state IDLE unknown";

INSTANTIATE_TEST_SUITE_P(
    Scripts, CallTracking,
    ::testing::Values(
        TScript{"NormalCall",
                {"RING", "DATE = 1208", "NMBR = 5551234", "NAME = JOHN", "RING", "RING", "<timeout>"},
                {"state OFFERING", "id 5551234||8", "id |JOHN|4", kIdle}},
        TScript{"NextCallIsOfferedAgain",
                {"RING", "<timeout>", "RING", "RING", "<timeout>", "<timeout>"},
                {"state OFFERING", kIdle, "state OFFERING", kIdle}},
        TScript{"CallerIdBeforeTheFirstRing",
                {"NMBR = 0123", "NAME = BT", "RING", "<timeout>"},
                {"id 0123||8", "id |BT|4", "state OFFERING", kIdle}},
        TScript{"WithheldNumberAndName",
                {"RING", "NMBR = P", "NAME = P", "<timeout>"},
                {"state OFFERING", "id ||1", "id |PRIVATE|4", kIdle}},
        TScript{"UnavailableNumberAndName",
                {"RING", "NMBR = O", "NAME = O", "<timeout>"},
                {"state OFFERING", "id OUT OF AREA||10", "id |OUT OF AREA|4", kIdle}},
        TScript{"RepeatedFieldsKeepTheFirst",
                {"RING", "NMBR = 5551234", "DDN_NMBR = O", "NAME = ANN", "NAME = O", "<timeout>"},
                {"state OFFERING", "id 5551234||8", "id |ANN|4", kIdle}},
        TScript{"SecondCallWithinTheRingTimeoutIsANewCall",
                {"RING", "NMBR = 111", "NAME = FIRST", "RING", "RING", "DATE = 1208", "NMBR = 222",
                 "NAME = SECOND", "RING", "<timeout>"},
                {"state OFFERING", "id 111||8", "id |FIRST|4", kIdle, "state OFFERING", "id 222||8",
                 "id |SECOND|4", kIdle}},
        TScript{"SecondCallBeforeItsRingAsInTheUk",
                {"NMBR = 111", "RING", "RING", "NMBR = 222", "RING", "<timeout>"},
                {"id 111||8", "state OFFERING", kIdle, "state OFFERING", "id 222||8", kIdle}},
        TScript{"EmptyNumberWaitsForTheRealOne",
                {"NMBR = ", "MESG = 0301", "HELLO = WORLD", "NMBR = 77", "<timeout>"},
                {"id 77||8", kIdle}},
        TScript{"OtherLinesNeitherStartNorEndACall", {"OK", "AT+VCID=1", "<timeout>"}, {}},
        TScript{"DateAloneIsACall", {"DATE = 1208", "<timeout>", "<timeout>"}, {kIdle}},
        TScript{"LineSaysAnswered",
                {"RING", "<answered>", "<ended>", "<ended>"},
                {"state OFFERING", "state IDLE answered"}},
        TScript{"LineSaysMissed", {"RING", "RING", "<ended>"}, {"state OFFERING", "state IDLE missed"}}),
    [](const ::testing::TestParamInfo<TScript>& info) { return std::string(info.param.label); });

}  // namespace

TEST(CallTracker, RingTimerRunsWhileACallGoesOn) {
  TCallTracker tracker;
  EXPECT_FALSE(tracker.Handle(ParseModemLine("OK")).restartRingTimer);
  EXPECT_TRUE(tracker.Handle(ParseModemLine("RING")).restartRingTimer);
  EXPECT_TRUE(tracker.Handle(ParseModemLine("NMBR = ")).restartRingTimer);
  EXPECT_TRUE(tracker.Handle(ParseModemLine("TIME = 0915")).restartRingTimer);
  EXPECT_TRUE(tracker.Handle({TLineNotice::Kind::kEnded, {}, {}}).stopRingTimer);
  tracker.Handle(ParseModemLine("RING"));
  tracker.Reset();
  EXPECT_FALSE(tracker.InCall());
  EXPECT_TRUE(tracker.RingTimeoutExpired().events.empty());
}

TEST(CallTracker, CallThatRangTwiceWithoutCallerIdSaysSo) {
  struct Case {
    QStringList steps;
    bool missing;
  };
  for (const Case& c : {Case{{"RING", "RING"}, true}, Case{{"RING"}, false},
                        Case{{"RING", "DATE = 1208", "RING"}, false}, Case{{"NMBR = 1", "RING", "RING"}, false}}) {
    TCallTracker tracker;
    RunScript(tracker, c.steps);
    EXPECT_EQ(tracker.RingTimeoutExpired().callerIdMissing, c.missing) << c.steps.join(",").toStdString();
  }
}

TEST(RingTimeoutSetting, SecondsWithFractionsWithinBounds) {
  EXPECT_EQ(RingTimeoutMsFromSetting("8"), 8000);
  EXPECT_EQ(RingTimeoutMsFromSetting(" 2.5 "), 2500);
  // Below two seconds every call would end before its data is shown.
  EXPECT_EQ(RingTimeoutMsFromSetting("1.99"), 2000);
  EXPECT_EQ(RingTimeoutMsFromSetting("0.001"), 2000);
  EXPECT_EQ(RingTimeoutMsFromSetting("1e12"), 3600 * 1000);
  for (const char* text : {"", "abc", "0", "-3", "nan", "inf", "5s"}) {
    EXPECT_EQ(RingTimeoutMsFromSetting(text), TCallTracker::kDefaultRingTimeoutMs) << text;
  }
}
