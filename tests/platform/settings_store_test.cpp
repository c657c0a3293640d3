#include "platform/settings_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
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

namespace {

QByteArray FileBytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

// Texts whose spelling in the file needs care: separators, quotes,
// escapes, line breaks, a leading "@", non-ASCII, hex digits after a
// control character.
const QStringList kAwkwardValues = {
    "plain", "", "/dev/a;/dev/b", "a,b", "x=y", "  lead and trail  ", "say \"hi\"",
    "C:\\path\\x", "first\r\nsecond\n", "tab\there", "\x01" "1f bell\x07", "@Variant(x)",
    QString::fromUtf8("äöü € 日本 😀"), "#hash", "; not a comment",
};

}  // namespace

TEST(SettingsStore, ValuesReadBackThroughQSettingsBothWays) {
  for (const QString& value : kAwkwardValues) {
    // A file of its own for each value: QSettings keeps files it has read
    // cached by size and time stamp, so two same-sized writes within one
    // time stamp tick would show it the previous value.
    TempConfigHome home;
    WriteSettingValue("DDESetup/My App", "Commands", value);
    {
      QSettings qt(home.SettingsFile(), QSettings::IniFormat);
      EXPECT_EQ(qt.value("DDESetup/My App/Commands").toString(), value) << FileBytes(home.SettingsFile()).constData();
      qt.setValue("Settings/Other", value);
    }
    EXPECT_EQ(ReadSettingValue("Settings", "Other"), value) << FileBytes(home.SettingsFile()).constData();
  }
}

TEST(SettingsStore, KeyNamesReadBackThroughQSettingsBothWays) {
  TempConfigHome home;
  const QStringList names = {"My App", QString::fromUtf8("Ärger=x;y"), "a%b", "General", QString::fromUtf8("日本")};
  for (const QString& name : names) WriteSettingValue("DDESetup/" + name, "Type", name);
  QSettings qt(home.SettingsFile(), QSettings::IniFormat);
  qt.beginGroup("DDESetup");
  QStringList seen = qt.childGroups();
  seen.sort();
  QStringList expected = names;
  expected.sort();
  EXPECT_EQ(seen, expected) << FileBytes(home.SettingsFile()).constData();
  for (const QString& name : names) EXPECT_EQ(qt.value(name + "/Type").toString(), name);
  qt.endGroup();
  qt.setValue("DDESetup/Written by Qt/Topic", "t");
  qt.sync();
  EXPECT_TRUE(SettingSubkeys("DDESetup").contains("Written by Qt"));
  EXPECT_EQ(ReadSettingValue("ddesetup/WRITTEN BY QT", "topic"), "t");
}

TEST(SettingsStore, HandWrittenFileKeepsEveryByteItDoesNotChange) {
  TempConfigHome home;
  const QByteArray handWritten =
      "; my modem setup\r\n"
      "[Settings]\r\n"
      "Mode = 0\r\n"
      "ExtraLines=/dev/ttyCID;/dev/serial/by-id/usb-X , /dev/ttyUSB3\r\n"
      "Modem=/dev/ttyCID   \r\n"
      "# note: RingTimeout below is mine\n"
      "RingTimeout=6\n"
      "\n"
      "[Unknown Section]\n"
      "weird line without equals\n"
      "Key=\"quoted ; value\"";
  WriteBytes(home.SettingsFile(), handWritten);
  EXPECT_EQ(ReadSettingValue("Settings", "ExtraLines"), "/dev/ttyCID;/dev/serial/by-id/usb-X , /dev/ttyUSB3");
  EXPECT_EQ(ReadSettingValue("Settings", "Modem"), "/dev/ttyCID");
  EXPECT_EQ(ReadSettingValue("Unknown Section", "Key"), "quoted ; value");

  // Writing what is there already changes nothing at all.
  WriteSettingValue("Settings", "Mode", "0");
  WriteSettingValue("SETTINGS", "modem", "/dev/ttyCID");
  EXPECT_EQ(FileBytes(home.SettingsFile()).toStdString(), handWritten.toStdString());

  // A changed value changes its own line only; a new one adds one line.
  WriteSettingValue("Settings", "Modem", "/dev/ttyUSB3");
  WriteSettingValue("Settings", "CurrentDDESetting", "1");
  const QByteArray expected =
      "; my modem setup\r\n"
      "[Settings]\r\n"
      "Mode = 0\r\n"
      "ExtraLines=/dev/ttyCID;/dev/serial/by-id/usb-X , /dev/ttyUSB3\r\n"
      "Modem=/dev/ttyUSB3\r\n"
      "# note: RingTimeout below is mine\n"
      "RingTimeout=6\n"
      "CurrentDDESetting=1\r\n"
      "\n"
      "[Unknown Section]\n"
      "weird line without equals\n"
      "Key=\"quoted ; value\"";
  EXPECT_EQ(FileBytes(home.SettingsFile()).toStdString(), expected.toStdString());

  // A new key goes into a section of its own at the end; deleting it takes
  // only its lines.
  WriteSettingValue("DDESetup/App", "Type", "DDE");
  DeleteSettingKey("DDESetup/App");
  EXPECT_TRUE(FileBytes(home.SettingsFile()).startsWith(expected + "\r\n"));
  EXPECT_EQ(ReadSettingValue("DDESetup/App", "Type"), "");
  EXPECT_EQ(ReadSettingValue("Settings", "RingTimeout"), "6");
}
