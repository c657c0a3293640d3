#include "platform/app_folders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

struct FoldersCase {
  const char* name;
  const char* programFolder;
  bool writable;
  const char* dataHome;  // XDG_DATA_HOME
  const char* data;      // expected data folder; "HOME" stands for $HOME
};

void PrintTo(const FoldersCase& c, std::ostream* out) { *out << c.name; }

class AppFoldersTest : public ::testing::TestWithParam<FoldersCase> {};

}  // namespace

TEST_P(AppFoldersTest, DataStaysBesideAWritableProgramOnly) {
  const QByteArray saved = qgetenv("XDG_DATA_HOME");
  qputenv("XDG_DATA_HOME", GetParam().dataHome);
  const platform::TAppFolders folders =
      platform::AppFoldersFor(GetParam().programFolder, [](const QString& folder) {
        EXPECT_TRUE(folder.endsWith('/'));
        return GetParam().writable;
      });
  qputenv("XDG_DATA_HOME", saved);
  EXPECT_EQ(folders.program, "/opt/quorvel/");
  EXPECT_EQ(folders.data, QString(GetParam().data).replace("HOME", QDir::homePath()));
}

INSTANTIATE_TEST_SUITE_P(
    Folders, AppFoldersTest,
    ::testing::Values(
        FoldersCase{"Portable", "/opt/quorvel", true, "/x", "/opt/quorvel/"},
        FoldersCase{"PortableWithSlash", "/opt/quorvel/", true, "/x", "/opt/quorvel/"},
        FoldersCase{"Installed", "/opt/quorvel", false, "/x/data", "/x/data/Varnock/Quorvel/"},
        FoldersCase{"InstalledNoDataHome", "/opt/quorvel/", false, "",
                    "HOME/.local/share/Varnock/Quorvel/"},
        FoldersCase{"InstalledRelativeDataHome", "/opt/quorvel", false, "data",
                    "HOME/.local/share/Varnock/Quorvel/"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AppFolders, AnUnwritableProgramFolderGetsAPrivateDataFolderMadeOnFirstUse) {
  QTemporaryDir home;
  const QByteArray saved = qgetenv("XDG_DATA_HOME");
  qputenv("XDG_DATA_HOME", home.filePath("share").toLocal8Bit());
  // A folder that does not exist cannot be written to, by root either.
  const platform::TAppFolders folders =
      platform::PrepareAppFolders(home.filePath("missing"), {"Callers.DB"});  // none there
  qputenv("XDG_DATA_HOME", saved);
  EXPECT_EQ(folders.data, home.filePath("share/Varnock/Quorvel/"));
  EXPECT_TRUE(QFileInfo(folders.data).isDir());
  const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                         QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                         QFileDevice::WriteOther | QFileDevice::ExeOther;
  EXPECT_EQ(QFile::permissions(folders.data) & others, QFileDevice::Permissions());

  EXPECT_EQ(platform::PrepareAppFolders(home.path()).data, home.path() + "/");
  if (geteuid() != 0) {  // mode bits bind everyone but root
    ASSERT_TRUE(QFile::setPermissions(home.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    EXPECT_FALSE(platform::IsWritableFolder(home.path()));
    QFile::setPermissions(home.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                           QFileDevice::ExeOwner);
  }
}

TEST(AppFolders, ExecutableFolderIsThisTestsOwn) {
  EXPECT_EQ(platform::ExecutableFolder(), QString(QUORVEL_TEST_BIN_DIR) + "/");
}
