// Each call shown in Active mode as a desktop notification, sent to a
// notification service of the test's own on the test's session bus.
#include "calls/call_notifier.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonObject>
#include <QUrl>
#include <gtest/gtest.h>

#include "notification_server.h"

namespace {

struct ContentCase {
  const char* name;
  TShownCall call;
  QString summary;
  QString body;
  QStringList actions;
};

void PrintTo(const ContentCase& c, std::ostream* out) { *out << c.name; }

class NotificationContentTest : public ::testing::TestWithParam<ContentCase> {};

TEST_P(NotificationContentTest, TellsNameNumberLineAndOffers) {
  const platform::TNotification n = TCallNotifier::NotificationFor(GetParam().call);
  EXPECT_EQ(n.summary, GetParam().summary);
  EXPECT_EQ(n.body, GetParam().body);
  EXPECT_EQ(n.imageFile, GetParam().call.pictureFile);
  EXPECT_EQ(n.actions, GetParam().actions);
}

const QStringList kShowOnly{"show", "Show"};
const QStringList kShowAndSave{"show", "Show", "save", "Save"};

INSTANTIATE_TEST_SUITE_P(
    Calls, NotificationContentTest,
    ::testing::Values(
        ContentCase{"Known", {"Alice Brown", "212-555-0101", "/dev/ttyS0", "/p/Alice Brown.BMP", true},
                    "Alice Brown", "212-555-0101 on /dev/ttyS0", kShowOnly},
        ContentCase{"UnknownWithName", {"CAROL", "555-0199", "/dev/modem", "/p/Default.BMP", false},
                    "CAROL", "555-0199 on /dev/modem", kShowAndSave},
        ContentCase{"NoNameNoLine", {"", "BLOCKED", "", "", false}, "(Unknown)", "BLOCKED",
                    kShowAndSave}),
    [](const auto& info) { return std::string(info.param.name); });

class CallNotifierTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(QDBusConnection::sessionBus().isConnected()) << "needs a session bus";
    notifier.onShow = [this] { ++shows; };
    notifier.onSave = [this](const QString& name, const QString& number) {
      saved << name + "|" + number;
    };
  }

  platform::TDesktopNotifications notifications;
  TCallNotifier notifier{notifications};
  NotificationServer server;
  int shows = 0;
  QStringList saved;
};

}  // namespace

TEST_F(CallNotifierTest, OneNotificationPerCallUpdatedInPlaceWithWorkingActions) {
  ASSERT_TRUE(server.Start());
  TShownCall call{"", "212-555-0199", "/dev/A&B", "/data/Default.BMP", false};
  notifier.CallShown(call);
  call.name = "Carol <C>";
  notifier.CallShown(call);  // the name arrived: sent once the first is known

  const QJsonObject first = server.WaitForNotify();
  ASSERT_FALSE(first.isEmpty());
  const QJsonObject expected{
      {"id", first["id"]},
      {"app_name", "Quorvel"},
      {"replaces_id", 0},
      {"app_icon", "quorvel"},
      {"summary", "(Unknown)"},
      {"body", "212-555-0199 on /dev/A&amp;B"},  // the service reads markup
      {"actions", QJsonArray{"show", "Show", "save", "Save"}},
      {"hints", QJsonObject{{"desktop-entry", "quorvel"},
                            {"image-path", "file:///data/Default.BMP"}}},
      {"expire_timeout", -1}};
  EXPECT_EQ(first, expected);
  const QJsonObject second = server.WaitForNotify();
  EXPECT_EQ(second["replaces_id"], first["id"]);
  EXPECT_EQ(second["summary"], "Carol <C>");  // a summary is plain text

  server.Invoke(first["id"].toInteger(), "save");
  server.Invoke(first["id"].toInteger(), "show");
  server.Invoke(first["id"].toInteger() + 100, "show");  // not ours
  ASSERT_TRUE(server.WaitForNotify(0).isEmpty());  // lets the signals arrive
  for (int i = 0; i < 200 && shows == 0; ++i) server.WaitForNotify(50);
  EXPECT_EQ(saved, QStringList{"Carol <C>|212-555-0199"});
  EXPECT_EQ(shows, 1);

  // After the line went idle the next call has its own notification; a
  // known caller offers nothing to save, and a dismissed one is forgotten.
  notifier.CallEnded();
  notifier.CallShown({"Alice", "212-555-0101", "/dev/ttyS0", "", true});
  const QJsonObject third = server.WaitForNotify();
  EXPECT_EQ(third["replaces_id"], 0);
  EXPECT_NE(third["id"], first["id"]);
  EXPECT_FALSE(third["hints"].toObject().contains("image-path"));
  server.Invoke(third["id"].toInteger(), "save");
  server.Dismiss(third["id"].toInteger());
  server.Invoke(third["id"].toInteger(), "show");
  server.Invoke(first["id"].toInteger(), "show");  // still answered after the first
  for (int i = 0; i < 200 && shows == 1; ++i) server.WaitForNotify(50);
  EXPECT_EQ(shows, 2);
  EXPECT_EQ(saved.size(), 1);
}

TEST_F(CallNotifierTest, WithoutAServiceNothingFailsAndALaterServiceIsUsed) {
  // Nobody owns the service: the bus answers with an error, later updates
  // are not held back for an answer that never comes.
  notifier.CallShown({"Dan", "555-0100", "", "", false});
  notifier.CallShown({"Dan", "555-0100", "", "", false});
  for (int i = 0; i < 20; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  ASSERT_TRUE(server.Start());
  notifier.CallShown({"Dan", "555-0100", "", "", false});
  const QJsonObject sent = server.WaitForNotify();
  ASSERT_FALSE(sent.isEmpty());
  EXPECT_EQ(sent["replaces_id"], 0);
  EXPECT_EQ(sent["summary"], "Dan");
  EXPECT_EQ(shows, 0);
  EXPECT_TRUE(saved.isEmpty());
}
