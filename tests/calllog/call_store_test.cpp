// The log file: what is stored reads back exactly, the layout is migrated,
// old calls are dropped, and a damaged, foreign or unwritable file never
// costs a call.
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSqlDatabase>

#include "call_log_fixture.h"
#include "calllog/call_log_schema.h"

namespace {

using Kind = TStoreProblem::Kind;

void WriteFile(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

TEST_F(CallLogFixture, EveryFieldReadsBackExactlyAndHostileTextStaysText) {
  TLoggedCall hostile = Call("'); DROP TABLE calls; --", "555\"0100'; --", 5, TCallEnding::kMissed);
  hostile.matchedName = "Ann \"The\" O'Neil, Jr.\n";
  hostile.numberDisplayed = "BLOCKED";
  hostile.withheld = true;
  hostile.outOfArea = true;
  hostile.durationSeconds = 42;
  hostile.mode = TCallMode::kPassive;
  hostile.forwarding = {TForwardingKind::kScriptExit, "exit status 2: sh: 1: nope: not found"};
  TLoggedCall plain = Call("Émile Zoé 😀", "5551234567", 1);
  Fill({hostile, plain});

  store.Close();  // read back through a new connection
  const auto stored = store.Page({}, std::numeric_limits<qint64>::max(), 10);
  ASSERT_EQ(stored.size(), 2u);
  hostile.id = stored[1].id;
  plain.id = stored[0].id;
  EXPECT_EQ(stored[1], hostile);
  EXPECT_EQ(stored[0], plain);
  EXPECT_EQ(store.Get(hostile.id), hostile);
  EXPECT_TRUE(problems.empty());
}

TEST_F(CallLogFixture, UpdateDeleteAndClearTouchOnlyWhatTheyName) {
  const auto ids = Fill({Call("Ann", "1"), Call("Bob", "2")});
  TLoggedCall bob = *store.Get(ids[1]);
  bob.ending = TCallEnding::kAnswered;
  bob.networkName = "Robert";
  ASSERT_TRUE(store.Update(bob));
  EXPECT_EQ(store.Get(ids[1]), bob);
  EXPECT_EQ(Names({"robert"}), std::vector<QString>{"Robert"});  // the search follows
  EXPECT_TRUE(Names({"bob"}).empty());
  ASSERT_TRUE(store.Delete(ids[0]));
  EXPECT_EQ(Names({}), std::vector<QString>{"Robert"});
  // A cleared log takes new calls.
  ASSERT_TRUE(store.Clear());
  EXPECT_TRUE(Names({}).empty());
  Fill({Call("Cy", "3")});
  EXPECT_EQ(Names({"c"}), std::vector<QString>{"Cy"});
}

TEST_F(CallLogFixture, AnOlderLayoutIsMigratedAndItsCallsBecomeSearchable) {
  {
    QDir().mkpath(dir.filePath("log"));
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "v1");
    db.setDatabaseName(LogFile());
    ASSERT_TRUE(db.open());
    MigrateCallLog(db, 1);
    QSqlQuery insert(db);
    ASSERT_TRUE(insert.exec(
        "INSERT INTO calls (start_utc, utc_offset, line, number_received, number_displayed,"
        " network_name, matched_name, withheld, out_of_area, ending, mode, forwarding,"
        " forwarding_detail) VALUES (0, 0, 'l', '5550100', '555-0100', 'OLD CALLER', '', 0, 0,"
        " 'missed', 'active', '', '')"));
  }
  QSqlDatabase::removeDatabase("v1");

  ASSERT_TRUE(store.Open());
  EXPECT_EQ(QueryFile(LogFile(), "PRAGMA user_version").toInt(), kCallLogSchemaVersion);
  EXPECT_EQ(Names({"old cal"}), std::vector<QString>{"OLD CALLER"});
  EXPECT_EQ(Names({"5550"}), std::vector<QString>{"OLD CALLER"});
  EXPECT_EQ(store.UnseenMissedCount(), 1);
}

TEST_F(CallLogFixture, ALogOfANewerVersionIsLeftUntouched) {
  ASSERT_TRUE(store.Open());
  store.Close();
  ASSERT_EQ(QueryFile(LogFile(), "PRAGMA user_version = 99"), QVariant());

  TLoggedCall call = Call("Ann", "1");
  EXPECT_FALSE(store.Insert(call));
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0].kind, Kind::kTooNew);
  EXPECT_EQ(QueryFile(LogFile(), "PRAGMA user_version").toInt(), 99);
  EXPECT_EQ(QueryFile(LogFile(), "SELECT count(*) FROM calls").toInt(), 0);
}

TEST_F(CallLogFixture, ADamagedFileIsMovedAsideAndTheCallGoesToANewLog) {
  const QByteArray garbage(8192, '\x5a');
  WriteFile(LogFile(), garbage);

  TLoggedCall call = Call("Ann", "5550100");
  ASSERT_TRUE(store.Insert(call));
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0].kind, Kind::kDamaged);
  const QString moved = problems[0].detail;
  EXPECT_TRUE(QRegularExpression(R"(/calls\.sqlite\.damaged-\d{4}-\d\d-\d\d$)").match(moved).hasMatch())
      << moved.toStdString();
  QFile aside(moved);
  ASSERT_TRUE(aside.open(QIODevice::ReadOnly));
  EXPECT_EQ(aside.readAll(), garbage);
  EXPECT_EQ(Names({}), std::vector<QString>{"Ann"});
  EXPECT_EQ(QueryFile(LogFile(), "PRAGMA integrity_check").toString(), "ok");

  // A second damage on the same day keeps the first one's file.
  store.Close();
  WriteFile(LogFile(), garbage);
  ASSERT_TRUE(store.Open());
  ASSERT_EQ(problems.size(), 2u);
  EXPECT_EQ(problems[1].detail, moved + "-2");
}

TEST_F(CallLogFixture, AFolderThatCannotBeMadeIsReportedAndTheLogWorksOnceItCan) {
  WriteFile(dir.filePath("log"), "a file where the folder belongs");
  TLoggedCall call = Call("Ann", "1");
  EXPECT_FALSE(store.Insert(call));
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0].kind, Kind::kUnwritable);

  QFile::remove(dir.filePath("log"));
  EXPECT_TRUE(store.Insert(call));
  EXPECT_EQ(Names({}), std::vector<QString>{"Ann"});
}

TEST_F(CallLogFixture, PruningDropsCallsPastTheDaysAndBeyondTheCapOldestFirst) {
  const int day = 24 * 60;
  Fill({Call("old", "1", 10 * day), Call("week", "2", 6 * day), Call("a", "3", 3),
        Call("b", "4", 2), Call("c", "5", 1)});
  const QDateTime week = QDateTime::currentDateTimeUtc().addDays(-7);
  EXPECT_EQ(store.PruneStep(week, 1000000, 100), 1);
  EXPECT_EQ(Names({}), (std::vector<QString>{"c", "b", "a", "week"}));
  // Three newest kept, one call per step.
  EXPECT_EQ(store.PruneStep(std::nullopt, 3, 1), 1);
  EXPECT_EQ(store.PruneStep(std::nullopt, 3, 1), 0);
  EXPECT_EQ(Names({}), (std::vector<QString>{"c", "b", "a"}));
  EXPECT_EQ(Names({"week"}), std::vector<QString>{});  // gone from the index too
}

TEST_F(CallLogFixture, MissedCallsCountUntilSeen) {
  Fill({Call("a", "1", 3, TCallEnding::kMissed), Call("b", "2", 2, TCallEnding::kAnswered)});
  EXPECT_EQ(store.UnseenMissedCount(), 1);
  ASSERT_TRUE(store.MarkAllSeen());
  EXPECT_EQ(store.UnseenMissedCount(), 0);
  const auto ids = Fill({Call("c", "3", 1, TCallEnding::kMissed)});
  EXPECT_EQ(store.UnseenMissedCount(), 1);
  // A deleted newest call's id is never given again, so nothing new hides behind it.
  ASSERT_TRUE(store.MarkAllSeen());
  ASSERT_TRUE(store.Delete(ids[0]));
  Fill({Call("d", "4", 0, TCallEnding::kMissed)});
  EXPECT_EQ(store.UnseenMissedCount(), 1);
}

struct SearchCase {
  const char* label;
  const char* typed;
  bool missedOnly;
  std::vector<QString> names;  // newest first
};

class CallSearch : public CallLogFixture, public ::testing::WithParamInterface<SearchCase> {};

TEST_P(CallSearch, FindsCallsByNameOrNumber) {
  TLoggedCall stored = Call("ZOLA NET", "5551234567", 6, TCallEnding::kMissed);
  stored.numberDisplayed = "555-123-4567";
  stored.matchedName = "Émile Zola";
  TLoggedCall star = Call("Star*Shop?[1]", "0800100", 5);
  TLoggedCall percent = Call("100% _Sure_", "+44 20 7946 0000", 4, TCallEnding::kMissed);
  TLoggedCall hostile = Call("'); DROP TABLE calls; --", "666", 3);
  TLoggedCall withheld = Call("", "", 2);
  withheld.numberDisplayed = "BLOCKED";
  withheld.withheld = true;
  Fill({stored, star, percent, hostile, withheld});
  EXPECT_EQ(Names({GetParam().typed, GetParam().missedOnly}), GetParam().names);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CallSearch,
    ::testing::Values(
        SearchCase{"Everything", "", false, {"", "'); DROP TABLE calls; --", "100% _Sure_", "Star*Shop?[1]", "Émile Zola"}},
        SearchCase{"MissedOnly", "", true, {"100% _Sure_", "Émile Zola"}},
        SearchCase{"StoredNameWithoutAccentOrCase", "EMILE", false, {"Émile Zola"}},
        SearchCase{"NetworkName", "zola net", false, {"Émile Zola"}},
        SearchCase{"TwoLetters", "zo", false, {"Émile Zola"}},
        SearchCase{"NumberAsDisplayed", "123-45", false, {"Émile Zola"}},
        SearchCase{"NumberWithOtherPunctuation", "(555) 123 4567", false, {"Émile Zola"}},
        SearchCase{"InternationalNumber", "2079", false, {"100% _Sure_"}},
        SearchCase{"WildcardsAreLiteral", "*shop?[", false, {"Star*Shop?[1]"}},
        SearchCase{"LikeWildcardsAreLiteral", "% _s", false, {"100% _Sure_"}},
        SearchCase{"OneWildcard", "_", false, {"100% _Sure_"}},
        SearchCase{"QuotesAreText", "'); drop", false, {"'); DROP TABLE calls; --"}},
        SearchCase{"Withheld", "blocked", false, {""}},
        SearchCase{"MissedAndSearched", "sure", true, {"100% _Sure_"}},
        SearchCase{"MissedFiltersSearch", "star", true, {}},
        SearchCase{"NothingMatches", "zzz", false, {}}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(CallLogFixture, PagesFollowEachOtherWithoutGapsOrRepeats) {
  std::vector<TLoggedCall> calls;
  for (int i = 0; i < 7; ++i) calls.push_back(Call(QString("Caller %1").arg(i), "5550100", 10 - i));
  const auto ids = Fill(calls);
  std::vector<qint64> seen;
  qint64 before = std::numeric_limits<qint64>::max();
  for (auto page = store.Page({"caller"}, before, 3); !page.empty();
       page = store.Page({"caller"}, before, 3)) {
    for (const TLoggedCall& call : page) seen.push_back(call.id);
    before = page.back().id;
  }
  EXPECT_EQ(seen, std::vector<qint64>(ids.rbegin(), ids.rend()));
  EXPECT_EQ(store.Newer({}, ids[4]).size(), 2u);
}

}  // namespace
