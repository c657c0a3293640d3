#include "remote/forwarding_outcome.h"

#include <gtest/gtest.h>

namespace {

using Kind = TForwardingOutcome::Kind;

struct DescriptionCase {
  const char* name;
  Kind what;
  std::string detail;
  int status;
  bool failed;
  std::string text;  // after the call's own part
};

void PrintTo(const DescriptionCase& c, std::ostream* out) { *out << c.name; }

class OutcomeDescription : public testing::TestWithParam<DescriptionCase> {};

TEST_P(OutcomeDescription, SaysWhatHappenedOnOneLine) {
  TForwardingOutcome o;
  o.What = GetParam().what;
  o.Detail = GetParam().detail;
  o.Status = GetParam().status;
  o.Forwarding = 7;
  o.CallerID = "555-123-4567";
  o.CallerName = "Jane \"J\" Doe";
  EXPECT_EQ(o.Failed(), GetParam().failed);
  EXPECT_EQ(DescribeOutcome(o), "#7 555-123-4567 \"Jane \"J\" Doe\": " + GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, OutcomeDescription,
    testing::Values(
        DescriptionCase{"OneSent", Kind::DBusSent, "org.example.Log", 1, false,
                        "sent 1 message to org.example.Log on the session bus"},
        DescriptionCase{"NotOpen", Kind::DBusNotOpen, "org.example.Log", 0, true,
                        "org.example.Log is not running on the session bus; nothing sent"},
        DescriptionCase{"ScriptFine", Kind::ScriptEnded, "", 0, false,
                        "script ended with exit status 0"},
        DescriptionCase{"ScriptFailed", Kind::ScriptEnded, "notify-send: not found\r", 127, true,
                        "script ended with exit status 127: notify-send: not found"},
        DescriptionCase{"ScriptKilled", Kind::ScriptKilled, "", 9, true,
                        "script was killed by signal 9"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
