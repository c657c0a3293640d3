#include "remote/forwarding_queue.h"

#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include "platform/dde_client_conv.h"
#include "platform/delay_with_messages.h"
#include "remote_test_support.h"

namespace {

remote::TRemoteProfile DdeProfile(const QString& busName) {
  remote::TRemoteProfile p;
  p.Application = busName;
  p.DdeLink = true;
  p.Topic = QStringLiteral("Calls");
  p.Commands = QStringLiteral("show @CIN");
  return p;
}

TEST(ForwardingQueue, HandingOverNeverWaitsAndForwardingsRunInTurn) {
  std::vector<std::string> forwarded;
  bool inside = false;
  TForwardingQueue* queuePtr = nullptr;
  TForwardingQueue queue([&](const remote::TRemoteProfile& profile, const TCallData& call) {
    EXPECT_FALSE(inside) << "one forwarding ran inside another";
    inside = true;
    forwarded.push_back(profile.Topic.toStdString() + " " + call.CallerName);
    // A call handed over during a forwarding's wait waits its turn.
    if (forwarded.size() == 1) queuePtr->Add(DdeProfile("b"), {"2", "Second", ""});
    DelayWithMessages(20);
    inside = false;
  });
  queuePtr = &queue;
  remote::TRemoteProfile first = DdeProfile("a");
  first.Topic = QStringLiteral("T1");
  queue.Add(first, {"1", "First", ""});
  EXPECT_TRUE(forwarded.empty());  // handed over: nothing run yet
  EXPECT_EQ(queue.Pending(), 1u);
  ASSERT_TRUE(WaitUntil([&] { return queue.Pending() == 0; }));
  EXPECT_EQ(forwarded, (std::vector<std::string>{"T1 First", "Calls Second"}));
}

TEST(ForwardingQueue, WithTheBusStalledEachCallIsForwardedWithItsOwnData) {
  TPrivateBus bus;
  ASSERT_TRUE(bus.Ready());
  const QString busName = UniqueBusName("Queue");
  TReceiverProcess receiver(busName, bus.Address());
  ASSERT_TRUE(receiver.Start());
  QTemporaryDir folder;
  platform::TDdeClientConv conversation(bus.Connection());
  TRemoteAction action(conversation, folder.path() + "/");
  std::vector<TForwardingOutcome> outcomes;
  action.SetOutcomeHook([&](const TForwardingOutcome& o) { outcomes.push_back(o); });
  TForwardingQueue queue([&](const remote::TRemoteProfile& profile, const TCallData& call) {
    action.RunRemoteAction(profile, call);
  });

  bus.Stop();
  const TLoopStallMeter meter;
  queue.Add(DdeProfile(busName), {"555-000-0001", "First Caller", "modem"});
  // The second call comes while the first waits for the bus.
  QTimer::singleShot(100, [&] {
    queue.Add(DdeProfile(busName), {"555-000-0002", "Second Caller", "modem"});
  });
  ASSERT_TRUE(WaitUntil([&] { return outcomes.size() == 2; }));
  EXPECT_LT(meter.LongestStallMs(), 2000);
  for (std::size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(outcomes[i].What, TForwardingOutcome::Kind::DBusNotOpen);
    EXPECT_EQ(outcomes[i].Forwarding, i + 1);
  }
  EXPECT_EQ(outcomes[0].CallerName, "First Caller");
  EXPECT_EQ(outcomes[1].CallerName, "Second Caller");
  EXPECT_EQ(outcomes[1].CallerID, "555-000-0002");

  // Once the bus answers again, a call reaches the target with its own data.
  bus.Resume();
  queue.Add(DdeProfile(busName), {"555-000-0003", "Third Caller", "modem"});
  const std::vector<TReceivedCall> expected{{"Execute", {"Calls", "show Third Caller"}}};
  EXPECT_EQ(receiver.WaitForCalls(1), expected);
}

}  // namespace
