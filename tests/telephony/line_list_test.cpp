#include "telephony/line_list.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "platform/settings_store.h"
#include "temp_dir.h"

using namespace LineList;

TEST(LineList, ExtraLinesSplitOnSemicolonsIgnoringBlanksAndEmptyParts) {
  EXPECT_EQ(SplitExtraLines(" /dev/a ;;/dev/b;  "), (QStringList{"/dev/a", "/dev/b"}));
  EXPECT_TRUE(SplitExtraLines("").isEmpty());
}

TEST(LineList, DeviceReachedTwiceIsListedOnceInFirstPlace) {
  QTemporaryDir dir;
  const QString device = dir.filePath("ttyX");
  QFile(device).open(QIODevice::WriteOnly);
  const QString alias = dir.filePath("modem");
  ASSERT_TRUE(QFile::link(device, alias));
  const QString missing = dir.filePath("gone");
  EXPECT_EQ(RemoveDuplicateDevices({alias, device, missing, "", missing, alias}), (QStringList{alias, missing}));
}

TEST(LineList, CollectedLinesEndWithTheConfiguredExtraLines) {
  TempConfigHome home;
  QTemporaryDir dir;
  const QString first = dir.filePath("first");
  const QString second = dir.filePath("second");
  platform::WriteSettingValue("Settings", "ExtraLines", first + ";" + second + ";" + first);
  const QStringList lines = CollectLineNames();
  ASSERT_GE(lines.size(), 2);
  EXPECT_EQ(lines.mid(lines.size() - 2), (QStringList{first, second}));
  EXPECT_EQ(lines.count(first), 1);
}

TEST(LineList, ServerNamedTwiceIsListedOnce) {
  EXPECT_EQ(RemoveDuplicateDevices({"ncid://Box", "NCID://box:3333/", "fritzbox://box", "ncid://box:3334",
                                    "ncid://[::1]", "ncid://[0:0::1]:3333"}),
            (QStringList{"ncid://Box", "fritzbox://box", "ncid://box:3334", "ncid://[::1]"}));
}

TEST(LineList, AddedLineKeepsTheValueAsWrittenAndComesOnce) {
  TempConfigHome home;
  struct Case {
    QString before;
    QString after;
    QString listedAs;
  };
  for (const Case& c : {Case{"", "ncid://box:3333", "ncid://box:3333"},
                        Case{"/dev/a, /dev/b", "/dev/a, /dev/b,ncid://box:3333", "ncid://box:3333"},
                        Case{"/dev/a;", "/dev/a;ncid://box:3333", "ncid://box:3333"},
                        Case{"ncid://BOX;/dev/a", "ncid://BOX;/dev/a", "ncid://BOX"}}) {
    platform::WriteSettingValue("Settings", "ExtraLines", c.before);
    EXPECT_EQ(AddExtraLine("ncid://box:3333"), c.listedAs);
    EXPECT_EQ(platform::ReadSettingValue("Settings", "ExtraLines"), c.after) << c.before.toStdString();
  }
}
