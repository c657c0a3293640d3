#include "remote/remote_profile_store.h"

#include <QFile>
#include <sys/stat.h>
#include <gtest/gtest.h>

#include "platform/settings_store.h"
#include "temp_dir.h"

using namespace remote;

namespace {

TRemoteProfile SampleProfile(const QString& name = "Target") {
  TRemoteProfile p;
  p.Application = name;
  p.DdeLink = true;
  p.Topic = "System";
  p.ExePath = "/usr/bin/target";
  p.DBPath = "/srv/calls.db";
  p.PokeData = "@CID @CIN";
  p.PokeLocation = "Caller";
  p.Commands = "first @CID\r\n; comment\r\nlast";
  p.StartExe = true;
  return p;
}

}  // namespace

TEST(RemoteProfileStore, ValuesAreStoredWithTheirTexts) {
  TempConfigHome home;
  WriteProfile("Target", SampleProfile());
  EXPECT_EQ(platform::ReadSettingValue("DDESetup/Target", "Type"), "DDE");
  EXPECT_EQ(platform::ReadSettingValue("DDESetup/Target", "StartExe"), "YES");
  EXPECT_EQ(platform::ReadSettingValue("DDESetup/Target", "Commands"),
            "first @CID\r\n; comment\r\nlast");
  EXPECT_EQ(platform::ReadSettingValue("DDESetup/Target", "PokeLocation"), "Caller");
  EXPECT_EQ(ReadProfile("Target"), SampleProfile());

  TRemoteProfile script;  // neither type selected is stored as a script
  WriteProfile("Target", script);
  EXPECT_EQ(platform::ReadSettingValue("DDESetup/Target", "Type"), "VBS");
  EXPECT_EQ(platform::ReadSettingValue("DDESetup/Target", "StartExe"), "NO");
  EXPECT_EQ(platform::ReadSettingValue("DDESetup/Target", "Topic"), "");
}

TEST(RemoteProfileStore, OnlyChangedValuesRewriteTheFile) {
  TempConfigHome home;
  const auto fileIdentity = [&] {
    struct stat st {};
    EXPECT_EQ(::stat(home.SettingsFile().toLocal8Bit().constData(), &st), 0);
    return st.st_ino;
  };
  WriteProfile("Target", SampleProfile());
  const auto first = fileIdentity();
  WriteProfile("TARGET", SampleProfile());  // same texts: the file is not replaced
  EXPECT_EQ(fileIdentity(), first);
  TRemoteProfile changed = SampleProfile();
  changed.PokeLocation = "Other";
  WriteProfile("Target", changed);
  EXPECT_NE(fileIdentity(), first);
  EXPECT_EQ(ReadProfile("Target"), changed);
  // A value changed behind the dialog's back is put right by the next save.
  platform::WriteSettingValue("DDESetup/Target", "Commands", "edited elsewhere");
  WriteProfile("Target", changed);
  EXPECT_EQ(ReadProfile("Target"), changed);
}

TEST(RemoteProfileStore, StoredTextsAreComparedExactly) {
  TempConfigHome home;
  struct Case { const char* type; bool dde; bool vbs; };
  for (const Case& c : {Case{"DDE", true, false}, Case{"VBS", false, true},
                        Case{"dde", false, false}, Case{"vbs", false, false},
                        Case{"DDE ", false, false}, Case{"", false, false}}) {
    WriteProfileValue("P", kTypeValue, c.type);
    const TRemoteProfile p = ReadProfile("P");
    EXPECT_EQ(p.DdeLink, c.dde) << c.type;
    EXPECT_EQ(p.VbsScript, c.vbs) << c.type;
  }
  for (const char* yes : {"yes", "Yes", "YES ", "1", "TRUE"}) {
    WriteProfileValue("P", kStartExeValue, yes);
    EXPECT_FALSE(ReadProfile("P").StartExe) << yes;
  }
  WriteProfileValue("P", kStartExeValue, "YES");
  EXPECT_TRUE(ReadProfile("P").StartExe);
}

TEST(RemoteProfileStore, MissingProfileReadsEmpty) {
  TempConfigHome home;
  EXPECT_EQ(ReadProfile("Nobody"), [] { TRemoteProfile p; p.Application = "Nobody"; return p; }());
  EXPECT_EQ(ReadProfile(""), TRemoteProfile{});
  EXPECT_TRUE(StoredProfileNames().isEmpty());
}

TEST(RemoteProfileStore, NamesMatchWithoutRegardToCase) {
  TempConfigHome home;
  WriteProfile("My App", SampleProfile());
  WriteProfileValue("MY APP", kTopicValue, "Other");
  EXPECT_EQ(StoredProfileNames(), QStringList{"My App"});
  EXPECT_EQ(ReadProfileValue("my app", kTopicValue), "Other");
  DeleteProfile("my APP");
  EXPECT_TRUE(StoredProfileNames().isEmpty());
}

TEST(RemoteProfileStore, UnusualNamesRoundTrip) {
  TempConfigHome home;
  const QStringList names{"General", "a=b;c", "[x]", "%41", " blank ", QString::fromUtf8("Tür"),
                          "a.b", "#hash"};
  for (const QString& n : names) WriteProfileValue(n, kTopicValue, "T " + n);
  QStringList stored = StoredProfileNames();
  stored.sort();
  QStringList expected = names;
  expected.sort();
  EXPECT_EQ(stored, expected);
  for (const QString& n : names) EXPECT_EQ(ReadProfileValue(n, kTopicValue), "T " + n) << n.toStdString();
}

TEST(RemoteProfileStore, NamesWithKeySeparatorsTouchNoOtherKey) {
  TempConfigHome home;
  WriteProfile("A", SampleProfile());
  platform::WriteSettingValue("Settings", "Mode", "1");
  for (const QString& bad : {QString("A/B"), QString("../Settings"), QString("A\\B"),
                             QString("/"), QString("\\Settings")}) {
    EXPECT_FALSE(IsValidProfileName(bad));
    WriteProfileValue(bad, kTopicValue, "overwritten");
    WriteProfile(bad, TRemoteProfile{});
    EXPECT_EQ(ReadProfileValue(bad, kTopicValue), "");
    DeleteProfile(bad);
  }
  WriteProfileValue("/Settings", "Mode", "0");
  EXPECT_EQ(ReadProfile("A"), SampleProfile("A"));
  EXPECT_EQ(StoredProfileNames(), QStringList{"A"});
  EXPECT_EQ(platform::ReadSettingValue("Settings", "Mode"), "1");
  EXPECT_TRUE(IsValidProfileName(""));
  EXPECT_TRUE(IsValidProfileName("Excel 2000"));
}

TEST(RemoteProfileStore, DeleteRemovesEverythingBelowAndSparesTheRest) {
  TempConfigHome home;
  WriteProfile("One", SampleProfile());
  WriteProfile("Two", SampleProfile());
  platform::WriteSettingValue("DDESetup/One/Nested", "X", "1");
  DeleteProfile("ONE");
  EXPECT_EQ(StoredProfileNames(), QStringList{"Two"});
  EXPECT_EQ(platform::ReadSettingValue("DDESetup/One/Nested", "X"), "");
  DeleteProfile("");  // the empty name never means "all profiles"
  EXPECT_EQ(StoredProfileNames(), QStringList{"Two"});
}
