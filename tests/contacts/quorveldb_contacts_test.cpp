#include <QProcess>
#include <gtest/gtest.h>

#include "contacts_fixture.h"
#include "platform/settings_store.h"
#include "temp_dir.h"

namespace {

struct ToolRun {
  int exitCode = -1;
  QString out;
  QString err;
};

class QuorveldbContactsTest : public ContactsFixture {
 protected:
  ToolRun Quorveldb(const QStringList& args) {
    QProcess tool;
    tool.start(QUORVELDB_PATH, QStringList{DatabaseFile()} + args);
    ToolRun run;
    if (!tool.waitForFinished(60000)) return run;
    run.exitCode = tool.exitCode();
    run.out = QString::fromUtf8(tool.readAllStandardOutput());
    run.err = QString::fromUtf8(tool.readAllStandardError());
    return run;
  }

  TempConfigHome config_;
};

TEST_F(QuorveldbContactsTest, ImportReportsOnStandardErrorAndExitsByWhatWasAdded) {
  platform::WriteSettingValue("Settings", "Region", "US");
  ToolRun run = Quorveldb({"import", DataFile("android-2.1.vcf")});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_TRUE(run.err.startsWith("Added: 6\nReplaced: 0\nSkipped: 0\n")) << run.err.toStdString();
  EXPECT_EQ(Stored("Alice Brown"), "212-555-0101");
  EXPECT_TRUE(NearColor(PictureColor("Alice Brown"), QColor(0xd0, 0x10, 0x10)));

  run = Quorveldb({"import", DataFile("android-2.1.vcf")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.err.contains("Skipped: 6\n  Alice Brown: already stored\n"));

  run = Quorveldb({"import", DataFile("android-2.1.vcf"), "--replace"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_TRUE(run.err.startsWith("Added: 0\nReplaced: 6\n"));

  run = Quorveldb({"import", DataFile("missing.vcf")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "Cannot open file " + DataFile("missing.vcf") + ".\n");
  EXPECT_EQ(Quorveldb({"import", DataFile("android-2.1.vcf"), "--merge"}).exitCode, 2);
}

TEST_F(QuorveldbContactsTest, FindTakesBothPassesInTheStoredRegion) {
  db.AddRecord(MakeCallerRecord("Alice Brown", "212-555-0101"));
  db.AddRecord(MakeCallerRecord("Frieda Wolf", "030 1234567"));
  platform::WriteSettingValue("Settings", "Region", "US");
  ToolRun run = Quorveldb({"find", "2125550101"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, "Alice Brown\t212-555-0101\n");
  EXPECT_EQ(Quorveldb({"find", "+1 212 555 0101"}).out, "Alice Brown\t212-555-0101\n");
  run = Quorveldb({"find", "+49301234567"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "");

  platform::WriteSettingValue("Settings", "Region", "DE");
  EXPECT_EQ(Quorveldb({"find", "+49301234567"}).out, "Frieda Wolf\t030 1234567\n");
  EXPECT_EQ(Quorveldb({"find", "BLOCKED"}).exitCode, 1);
}

}  // namespace
