// File > Select modem > "Add Network Line...": the choice it edits, and the
// dialog adding a line to the settings and the menu and selecting it.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSpinBox>
#include <ostream>

#include "app/network_line_choice.h"
#include "app/network_line_dialog.h"
#include "form_fixture.h"
#include "modal_dialog.h"
#include "simulator_process.h"

namespace {

using Kind = TNetworkLineChoice::Kind;

struct TChoiceCase {
  Kind kind;
  const char* host;
  int port;
  // The line's name, or "!" and the start of the problem.
  const char* expected;
};

void PrintTo(const TChoiceCase& c, std::ostream* out) { *out << c.host << " " << c.port; }

class NetworkLineChoices : public ::testing::TestWithParam<TChoiceCase> {};

TEST_P(NetworkLineChoices, NameTheLineOrSayWhatIsWrong) {
  const TChoiceCase& c = GetParam();
  QString problem;
  const QString name = TNetworkLineChoice{c.kind, c.host, c.port}.LineName(&problem);
  const QString expected = QString::fromUtf8(c.expected);
  if (expected.startsWith('!')) {
    EXPECT_EQ(name, "");
    EXPECT_TRUE(problem.startsWith(expected.mid(1))) << problem.toStdString();
  } else {
    EXPECT_EQ(name, expected);
  }
}

INSTANTIATE_TEST_SUITE_P(Choices, NetworkLineChoices,
                         ::testing::Values(TChoiceCase{Kind::kNcid, "192.0.2.10", 3333, "ncid://192.0.2.10:3333"},
                                           TChoiceCase{Kind::kFritzBox, " fritz.box ", 1012,
                                                       "fritzbox://fritz.box:1012"},
                                           TChoiceCase{Kind::kNcid, "fd00::1", 4000, "ncid://[fd00::1]:4000"},
                                           TChoiceCase{Kind::kFritzBox, "[fd00::1]", 1012, "fritzbox://[fd00::1]:1012"},
                                           TChoiceCase{Kind::kNcid, "", 3333, "!No host name"},
                                           TChoiceCase{Kind::kNcid, "ncid://box", 3333, "!Not a valid host"},
                                           TChoiceCase{Kind::kNcid, "box", 0, "!Not a valid port"}));

template <typename T>
T* Field(TNetworkLineDialog& dialog, const char* name) {
  T* field = dialog.findChild<T*>(name);
  EXPECT_NE(field, nullptr) << name;
  return field;
}

TEST_F(FormTest, NetworkLineIsCheckedAddedToTheSettingsAndTheMenuAndSelected) {
  TFakeServerProcess server("ncid");
  ASSERT_TRUE(server.Started());
  TQuorvelForm& form = CreateOnOneModem();
  const FormParts ui(form);
  const QString modem = modem_;

  bool refused = false;
  WhenModalShows<TNetworkLineDialog>([&](TNetworkLineDialog& dialog) {
    auto* kind = Field<QComboBox>(dialog, "kind");
    auto* port = Field<QSpinBox>(dialog, "port");
    kind->setCurrentIndex(1);
    EXPECT_EQ(port->value(), 1012) << "the FRITZ!Box's port";
    kind->setCurrentIndex(0);
    EXPECT_EQ(port->value(), 3333) << "the NCID server's port";
    Field<QLineEdit>(dialog, "host")->setText("not a host");
    dialog.accept();
    refused = dialog.isVisible() && Field<QLabel>(dialog, "problem")->text().startsWith("Not a valid host");
    Field<QLineEdit>(dialog, "host")->setText("127.0.0.1");
    port->setValue(server.Port());
    dialog.accept();
  });
  ui.AddNetworkLine1->trigger();

  EXPECT_TRUE(refused) << "a bad host keeps the dialog open and says why";
  const QString url = server.Url();
  EXPECT_EQ(Stored("ExtraLines"), modem + ";" + url);
  EXPECT_EQ(MenuLines(), (QStringList{modem, url}));
  EXPECT_EQ(Checks(), (std::vector<bool>{false, true}));
  EXPECT_EQ(form.Line().LineName(), url);
  EXPECT_TRUE(form.Line().LineOpen());
  EXPECT_FALSE(server.WaitForOutput("connected").isEmpty());

  // The same server again is selected, not added twice.
  ui.Selectmodem1->actions().at(0)->trigger();
  WhenModalShows<TNetworkLineDialog>([&](TNetworkLineDialog& dialog) {
    Field<QLineEdit>(dialog, "host")->setText("127.0.0.1");
    Field<QSpinBox>(dialog, "port")->setValue(server.Port());
    dialog.accept();
  });
  ui.AddNetworkLine1->trigger();
  EXPECT_EQ(Stored("ExtraLines"), modem + ";" + url);
  EXPECT_EQ(MenuLines(), (QStringList{modem, url}));
  EXPECT_EQ(Checks(), (std::vector<bool>{false, true}));
}

TEST_F(FormTest, CancelledNetworkLineChangesNothing) {
  TQuorvelForm& form = CreateOnOneModem();
  const FormParts ui(form);
  const QString modem = modem_;
  WhenModalShows<TNetworkLineDialog>([](TNetworkLineDialog& dialog) {
    Field<QLineEdit>(dialog, "host")->setText("192.0.2.1");
    dialog.reject();
  });
  ui.AddNetworkLine1->trigger();
  EXPECT_EQ(Stored("ExtraLines"), modem);
  EXPECT_EQ(MenuLines(), QStringList{modem});
  EXPECT_EQ(form.Line().LineName(), modem);
}

}  // namespace
