// The stored mode applied at creation, and switching between the modes.
#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>

#include "app/notification_link.h"
#include "form_fixture.h"

namespace {

struct StoredMode {
  const char* name;
  const char* stored;  // nullptr: no value at all
  bool active;
};

void PrintTo(const StoredMode& mode, std::ostream* out) { *out << mode.name; }

class StoredModeTest : public FormTest, public ::testing::WithParamInterface<StoredMode> {};

}  // namespace

TEST_P(StoredModeTest, SelectsTheModeAndSwitchingStoresNothing) {
  TQuorvelForm& form = CreateOnOneModem(GetParam().stored);  // nullptr: none stored
  const FormParts ui(form);
  const int fullHeight = 200 + 46 + form.menuBar()->heightForWidth(197);
  EXPECT_EQ(form.height(), GetParam().active ? fullHeight : fullHeight - 246);
  EXPECT_EQ(form.IsActiveMode(), GetParam().active);
  EXPECT_EQ(ui.Active1->isChecked(), GetParam().active);
  EXPECT_EQ(ui.Passive1->isChecked(), !GetParam().active);
  EXPECT_EQ(ui.Record1->menuAction()->isVisible(), GetParam().active);
  EXPECT_EQ(ui.Setup1->isVisible(), !GetParam().active);
  EXPECT_EQ(ui.Image->isHidden(), !GetParam().active);
  EXPECT_EQ(ui.Panel1->isHidden(), !GetParam().active);

  ui.Mode1->actions().at(0)->trigger();  // the menu entry, as the user picks it
  ui.Active1->trigger();  // the checked entry again keeps it checked
  EXPECT_TRUE(form.IsActiveMode());
  EXPECT_EQ(form.height(), fullHeight);  // also when created in Passive mode
  EXPECT_EQ(Stored("Mode"), GetParam().stored ? GetParam().stored : "");  // only read
  EXPECT_EQ(Stored("Modem"), "");
}

INSTANTIATE_TEST_SUITE_P(FormCreate, StoredModeTest,
                         ::testing::Values(StoredMode{"Missing", nullptr, false},
                                           StoredMode{"Zero", "0", true},
                                           StoredMode{"One", "1", false},
                                           StoredMode{"Empty", "", false},
                                           StoredMode{"Other", "active", false},
                                           StoredMode{"ZeroWithBlank", "0 ", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(FormTest, PassiveLeavesOnlyTheMenuBarAndActiveRestoresTheHeight) {
  TQuorvelForm& form = CreateOnOneModem("0");
  const FormParts ui(form);
  const int created = form.height();
  EXPECT_EQ(form.FullHeight(), created);

  ui.Passive1->trigger();
  const int passive = form.height();
  EXPECT_EQ(passive, created - 200 - 46);
  EXPECT_EQ(form.minimumHeight(), form.maximumHeight());  // still fixed
  ui.Passive1->trigger();  // the parts are hidden now: their last heights count
  EXPECT_EQ(form.height(), passive);

  ui.Active1->trigger();
  EXPECT_EQ(form.height(), created);
  EXPECT_TRUE(ui.Active1->isChecked());
  EXPECT_FALSE(ui.Passive1->isChecked());
  EXPECT_FALSE(ui.Image->isHidden());
  EXPECT_FALSE(ui.Panel1->isHidden());
  EXPECT_EQ(ui.Image->geometry(), QRect(0, 0, 197, 200));
  EXPECT_EQ(ui.Panel1->geometry(), QRect(0, 200, 197, 46));

  ui.Passive1->trigger();
  EXPECT_EQ(form.height(), passive);
}

namespace {

struct StoredNotify {
  const char* name;
  const char* stored;
  bool trayShown;
  bool on;
};

void PrintTo(const StoredNotify& c, std::ostream* out) { *out << c.name; }

class StoredNotifyTest : public ::testing::TestWithParam<StoredNotify> {};

}  // namespace

// Without a tray a notification is the only sign of a call besides the
// window, so that is when they are on unless the user said otherwise.
TEST_P(StoredNotifyTest, DecidesDesktopNotifications) {
  EXPECT_EQ(NotificationsOnAtStart(GetParam().stored, GetParam().trayShown), GetParam().on);
}

INSTANTIATE_TEST_SUITE_P(
    FormCreate, StoredNotifyTest,
    ::testing::Values(StoredNotify{"MissingWithTray", "", true, false},
                      StoredNotify{"MissingWithoutTray", "", false, true},
                      StoredNotify{"OnWithTray", "1", true, true},
                      StoredNotify{"OffWithoutTray", "0", false, false},
                      StoredNotify{"OtherWithTray", "yes", true, false},
                      StoredNotify{"OtherWithoutTray", "yes", false, true}),
    [](const auto& info) { return std::string(info.param.name); });

// Exit ends the application's event loop for good: one form per test.
TEST_F(FormTest, DesktopNotificationsAreOnWithoutATrayAndTheChoiceIsStoredAtExit) {
  TQuorvelForm& form = CreateOnOneModem();
  const FormParts ui(form);
  auto* entry = form.findChild<QAction*>("Notify1");
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(ui.Mode1->actions().value(3), entry);
  EXPECT_TRUE(entry->isCheckable());
  EXPECT_TRUE(form.NotificationsOn());  // the offscreen platform has no tray
  entry->trigger();
  EXPECT_FALSE(form.NotificationsOn());
  EXPECT_EQ(Stored("Notify"), "");  // stored only at exit
  form.Exit();
  EXPECT_EQ(Stored("Notify"), "0");
}

TEST_F(FormTest, StoredDesktopNotificationsChoiceIsKeptAndADefaultNotPinned) {
  Store("Notify", "0");
  TQuorvelForm& form = CreateOnOneModem();
  EXPECT_FALSE(form.NotificationsOn());
  Store("Notify", "");  // as if never chosen: an unchanged choice is not written
  form.Exit();
  EXPECT_EQ(Stored("Notify"), "");
}
