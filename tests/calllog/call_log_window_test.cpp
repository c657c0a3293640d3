// The Call Log window as the user drives it: lazy table, search as you
// type, "Missed only", choosing a call, the context menu, export and clear.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include "call_log_fixture.h"
#include "calllog/call_csv_export.h"
#include "calllog/call_log_model.h"
#include "calllog/call_log_window.h"
#include "calllog/csv_writer.h"
#include "message_box_answerer.h"

namespace {

class WindowTest : public CallLogFixture {
 protected:
  void Open() {
    window = std::make_unique<TCallLogWindow>(store);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    table = window->findChild<QTableView*>("calls");
    search = window->findChild<QLineEdit*>("search");
    missed = window->findChild<QCheckBox*>("missedOnly");
    ASSERT_TRUE(table && search && missed);
  }
  QStringList Column(int column) const {
    QStringList texts;
    for (int row = 0; row < table->model()->rowCount(); ++row)
      texts << table->model()->index(row, column).data().toString();
    return texts;
  }
  QPoint RowCenter(int row) const {
    return table->visualRect(table->model()->index(row, TCallLogModel::kName)).center();
  }
  // The window's action titled `text`, triggered (nothing when there is none).
  void Trigger(const QString& text) {
    for (QAction* action : window->findChildren<QAction*>()) {
      if (action->text() == text) action->trigger();
    }
  }
  // Opens the context menu on `row` and chooses the entry `text`.
  void ChooseFromContextMenu(int row, const QString& text) {
    QTimer::singleShot(0, [text] {
      QMenu* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      ASSERT_TRUE(menu);
      for (QAction* action : menu->actions()) {
        if (action->text() == text) menu->setActiveAction(action);
      }
      QTest::keyClick(menu, Qt::Key_Return);
      menu->close();  // when the entry was disabled
    });
    emit table->customContextMenuRequested(RowCenter(row));
  }

  std::unique_ptr<TCallLogWindow> window;
  QTableView* table = nullptr;
  QLineEdit* search = nullptr;
  QCheckBox* missed = nullptr;
};

TEST_F(CallLogFixture, TheModelReadsPagesOnlyAsTheyAreNeeded) {
  std::vector<TLoggedCall> calls(450, Call("Caller", "5550100"));
  Fill(calls);
  TCallLogModel model(store);
  model.Reload();
  EXPECT_EQ(model.rowCount(), TCallLogModel::kPageSize);
  int fetches = 0;
  while (model.canFetchMore({})) {
    model.fetchMore({});
    ++fetches;
  }
  EXPECT_EQ(model.rowCount(), 450);
  EXPECT_EQ(fetches, 2);
  for (int row = 1; row < model.rowCount(); ++row) ASSERT_GT(model.Call(row - 1).id, model.Call(row).id);

  auto newer = Fill({Call("Newest", "1")});
  model.CallChanged(newer[0]);
  EXPECT_EQ(model.rowCount(), 451);
  EXPECT_EQ(model.Call(0).networkName, "Newest");
  TLoggedCall changed = model.Call(0);
  changed.ending = TCallEnding::kMissed;
  ASSERT_TRUE(store.Update(changed));
  model.CallChanged(changed.id);
  EXPECT_EQ(model.index(0, TCallLogModel::kStatus).data().toString(), "Missed");
}

TEST_F(WindowTest, TypingFiltersByNameOrNumberAndMissedOnlyNarrowsIt) {
  Fill({Call("Ann Lee", "5550101", 4, TCallEnding::kMissed), Call("Bob Ray", "5550102", 3),
        Call("Annette", "5550103", 2), Call("'); DROP TABLE calls; --", "5559999", 1)});
  Open();
  EXPECT_EQ(Column(TCallLogModel::kName),
            (QStringList{"'); DROP TABLE calls; --", "Annette", "Bob Ray", "Ann Lee"}));
  QTest::keyClicks(search, "ann");
  EXPECT_EQ(Column(TCallLogModel::kName), (QStringList{"Annette", "Ann Lee"}));
  QTest::mouseClick(missed, Qt::LeftButton);
  EXPECT_EQ(Column(TCallLogModel::kName), QStringList{"Ann Lee"});
  search->clear();
  QTest::keyClicks(search, "555-0102");
  QTest::mouseClick(missed, Qt::LeftButton);
  EXPECT_EQ(Column(TCallLogModel::kName), QStringList{"Bob Ray"});
  EXPECT_EQ(Column(TCallLogModel::kNumber), QStringList{"5550102"});
}

TEST_F(WindowTest, DoubleClickOrEnterAsksToShowThatCaller) {
  Fill({Call("Ann", "5550101"), Call("Bob", "5550102")});
  Open();
  QSignalSpy show(window.get(), &TCallLogWindow::ShowCallerRequested);
  // A double click as the window system delivers it: press, release, double click.
  QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, RowCenter(1));
  QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, RowCenter(1));
  ASSERT_EQ(show.size(), 1);
  EXPECT_EQ(show[0][0].value<TLoggedCall>().networkName, "Ann");
  table->setFocus();
  table->setCurrentIndex(table->model()->index(0, 0));
  QTest::keyClick(table, Qt::Key_Return);
  ASSERT_EQ(show.size(), 2);
  EXPECT_EQ(show[1][0].value<TLoggedCall>().networkName, "Bob");
}

TEST_F(WindowTest, TheContextMenuCopiesSavesAndDeletes) {
  TLoggedCall known = Call("NET", "5550101");
  known.matchedName = "Ann";
  Fill({known, Call("Unknown Caller", "5550102")});
  Open();
  QSignalSpy save(window.get(), &TCallLogWindow::SaveCallerRequested);
  ChooseFromContextMenu(0, "&Copy number");
  EXPECT_EQ(QApplication::clipboard()->text(), "5550102");
  ChooseFromContextMenu(0, "&Save caller...");
  ASSERT_EQ(save.size(), 1);
  EXPECT_EQ(save[0][0].value<TLoggedCall>().networkName, "Unknown Caller");
  ChooseFromContextMenu(1, "&Save caller...");  // a stored caller: not offered
  EXPECT_EQ(save.size(), 1);
  ChooseFromContextMenu(0, "&Delete entry");
  EXPECT_EQ(Column(TCallLogModel::kName), QStringList{"Ann"});
  EXPECT_EQ(Names({}), std::vector<QString>{"Ann"});
}

TEST_F(WindowTest, ExportWritesTheShownCallsAsCsv) {
  TLoggedCall tricky = Call("Smith, \"Jo\"\nJr.", "5550101", 2, TCallEnding::kMissed);
  tricky.startUtc = QDateTime::fromMSecsSinceEpoch(1700000000000, Qt::UTC);
  tricky.utcOffsetSeconds = 3600;
  tricky.forwarding = {TForwardingKind::kScriptExit, "exit status 1: no, really"};
  tricky.mode = TCallMode::kPassive;
  tricky.durationSeconds = 7;
  Fill({tricky, Call("Other", "5550102", 1)});
  Open();
  QTest::keyClicks(search, "smith");
  const QString file = dir.filePath("out.csv");
  window->AskExportFile = [&] { return file; };
  QSignalSpy done(window.get(), &TCallLogWindow::ExportFinished);
  Trigger("&Export CSV...");
  ASSERT_TRUE(done.wait(30000));
  EXPECT_EQ(done[0][0].toInt(), 1);
  QFile csv(file);
  ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
  EXPECT_EQ(csv.readAll(),
            "start_utc,start_local,line,number_received,number,network_name,caller,withheld,"
            "out_of_area,ended,duration,mode,forwarding,forwarding_detail\r\n"
            "2023-11-14T22:13:20Z,2023-11-14T23:13:20+01:00,/dev/ttyACM0,5550101,5550101,"
            "\"Smith, \"\"Jo\"\"\nJr.\",,0,0,missed,7,passive,script-exit,"
            "\"exit status 1: no, really\"\r\n");
}

TEST_F(WindowTest, ClearAsksFirst) {
  Fill({Call("Ann", "1")});
  Open();
  {
    MessageBoxAnswerer answerer({"&No"});
    Trigger("&Clear log...");
    ASSERT_EQ(answerer.seen().size(), 1u);
  }
  EXPECT_EQ(Column(TCallLogModel::kName), QStringList{"Ann"});
  MessageBoxAnswerer answerer({"&Yes"});
  Trigger("&Clear log...");
  EXPECT_TRUE(Column(TCallLogModel::kName).isEmpty());
  EXPECT_TRUE(Names({}).empty());
}

struct CsvCase {
  const char* label;
  QStringList fields;
  QByteArray record;
};

class CsvRecordTest : public ::testing::TestWithParam<CsvCase> {};

TEST_P(CsvRecordTest, FollowsRfc4180) { EXPECT_EQ(CsvRecord(GetParam().fields), GetParam().record); }

INSTANTIATE_TEST_SUITE_P(
    Cases, CsvRecordTest,
    ::testing::Values(CsvCase{"Plain", {"a", "b c", ""}, "a,b c,\r\n"},
                      CsvCase{"Comma", {"a,b"}, "\"a,b\"\r\n"},
                      CsvCase{"Quotes", {"say \"hi\""}, "\"say \"\"hi\"\"\"\r\n"},
                      CsvCase{"LineBreaks", {"a\r\nb", "c\nd"}, "\"a\r\nb\",\"c\nd\"\r\n"},
                      CsvCase{"Utf8", {"Émile 😀"}, "\xc3\x89mile \xf0\x9f\x98\x80\r\n"},
                      CsvCase{"Formula", {"=1+1", "'x"}, "=1+1,'x\r\n"}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
