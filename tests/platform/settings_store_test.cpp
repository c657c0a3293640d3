#include "platform/settings_store.h"

#include <QFile>
#include <unistd.h>
#include <gtest/gtest.h>

#include "temp_dir.h"

using namespace platform;

TEST(SettingsStore, FileLivesUnderXdgConfigHome) {
  TempConfigHome home;
  EXPECT_EQ(SettingsFilePath(), home.SettingsFile());
  WriteSettingValue("Settings", "Mode", "0");
  EXPECT_TRUE(QFile::exists(home.SettingsFile()));
}

TEST(SettingsStore, MissingValueReadsEmpty) {
  TempConfigHome home;
  EXPECT_EQ(ReadSettingValue("Settings", "Mode"), "");
  EXPECT_EQ(ReadSettingValue("NoSuchKey/Deeper", "Anything"), "");
}

TEST(SettingsStore, KeyAndValueNamesIgnoreCase) {
  TempConfigHome home;
  WriteSettingValue("Settings", "Modem", "/dev/ttyS0");
  EXPECT_EQ(ReadSettingValue("SETTINGS", "modem"), "/dev/ttyS0");
  // A write in other letter case replaces the value instead of adding one.
  WriteSettingValue("settings", "MODEM", "/dev/ttyS1");
  EXPECT_EQ(ReadSettingValue("Settings", "Modem"), "/dev/ttyS1");
  QFile f(home.SettingsFile());
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray text = f.readAll();
  EXPECT_EQ(text.count("odem="), 1) << text.constData();
  EXPECT_TRUE(text.contains("[Settings]")) << text.constData();
}

TEST(SettingsStore, SubkeysAndDeletion) {
  TempConfigHome home;
  WriteSettingValue("DDESetup/Alpha", "Type", "DDE");
  WriteSettingValue("DDESetup/beta two", "Type", "VBS");
  WriteSettingValue("DDESetup/beta two/Nested", "X", "1");
  QStringList keys = SettingSubkeys("ddesetup");
  keys.sort();
  EXPECT_EQ(keys, (QStringList{"Alpha", "beta two"}));
  DeleteSettingKey("DDESetup/BETA TWO");
  EXPECT_EQ(SettingSubkeys("DDESetup"), QStringList{"Alpha"});
  EXPECT_EQ(ReadSettingValue("DDESetup/beta two/Nested", "X"), "");
  EXPECT_EQ(ReadSettingValue("DDESetup/alpha", "type"), "DDE");
}

TEST(SettingsStore, ValuesKeepLineBreaksAndUnicode) {
  TempConfigHome home;
  const QString commands = QString::fromUtf8("first\r\nzweite Zeile äöü\r\n");
  WriteSettingValue("DDESetup/App", "Commands", commands);
  EXPECT_EQ(ReadSettingValue("DDESetup/App", "Commands"), commands);
}

TEST(SettingsStore, UnwritableFileIsSilent) {
  TempConfigHome home;
  WriteSettingValue("Settings", "Mode", "1");
  QFile::setPermissions(home.SettingsFile(), QFile::ReadOwner);
  QFile::setPermissions(home.path() + "/Varnock", QFile::ReadOwner | QFile::ExeOwner);
  WriteSettingValue("Settings", "Mode", "0");  // must neither throw nor crash
  QFile::setPermissions(home.path() + "/Varnock", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  QFile::setPermissions(home.SettingsFile(), QFile::ReadOwner | QFile::WriteOwner);
  if (geteuid() != 0) {
    EXPECT_EQ(ReadSettingValue("Settings", "Mode"), "1");  // root may write anyway
  }
}
