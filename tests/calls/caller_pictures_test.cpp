#include "calls/caller_pictures.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

using namespace calls;

namespace {

class CallerPicturesTest : public ::testing::Test {
 protected:
  QString Dir() const { return dir.path() + "/"; }
  static QImage Filled(QColor color, QSize size = {2, 2}) {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(color);
    return picture;
  }
  // `file` is a path, or a file name in the picture folder.
  void WriteBitmap(const QString& file, QColor color) {
    ASSERT_TRUE(Filled(color, {4, 3}).save(QDir(Dir()).filePath(file), "BMP"));
  }
  static std::string OpenError(const QString& path) {
    return ("Cannot open file " + path).toStdString();
  }

  QTemporaryDir dir;
  TCallerPictures pictures{Dir()};
};

TEST_F(CallerPicturesTest, FileNamesUseTheFullNameAndBmpExtension) {
  EXPECT_EQ(pictures.FileOf("A very long caller name, 35 chars!"),
            Dir() + "A very long caller name, 35 chars!.BMP");
  EXPECT_EQ(pictures.DefaultFile(), Dir() + "Default.BMP");
}

TEST_F(CallerPicturesTest, LoadsAStoredBitmap) {
  WriteBitmap("Alice.BMP", Qt::red);
  const QImage picture = pictures.Load("Alice");
  EXPECT_EQ(picture.size(), QSize(4, 3));
  EXPECT_EQ(picture.pixelColor(0, 0), QColor(Qt::red));
}

TEST_F(CallerPicturesTest, UnreadablePicturesNameTheFile) {
  try {
    pictures.Load("Nobody");
    FAIL() << "a missing picture was loaded";
  } catch (const EPictureFile& e) {
    EXPECT_EQ(e.what(), OpenError(Dir() + "Nobody.BMP"));
  }
  QFile png(Dir() + "Png.BMP");
  ASSERT_TRUE(png.open(QIODevice::WriteOnly));
  QImage(4, 4, QImage::Format_RGB32).save(&png, "PNG");
  png.close();
  EXPECT_THROW(pictures.Load("Png"), EPictureFile);
  ASSERT_TRUE(QDir(Dir()).mkdir("Folder.BMP"));
  EXPECT_THROW(pictures.Load("Folder"), EPictureFile);
  try {
    pictures.LoadDefault();
    FAIL() << "a missing default picture was loaded";
  } catch (const EPictureFile& e) {
    EXPECT_EQ(e.what(), OpenError(Dir() + "Default.BMP"));
  }
}

TEST_F(CallerPicturesTest, NamesLeavingTheFolderAreAbsentPictures) {
  QTemporaryDir outside;
  const QImage picture = Filled(Qt::blue);
  ASSERT_TRUE(picture.save(outside.path() + "/Victim.BMP", "BMP"));
  const QString escaping = "../" + QDir(outside.path()).dirName() + "/Victim";
  ASSERT_TRUE(QFile::exists(Dir() + escaping + ".BMP"));  // the path would reach it

  EXPECT_THROW(pictures.Load(escaping), EPictureFile);
  pictures.Delete(escaping);
  EXPECT_TRUE(QFile::exists(outside.path() + "/Victim.BMP"));
  EXPECT_THROW(pictures.Save(escaping, picture), EPictureFile);
  EXPECT_THROW(pictures.Save("..", picture), EPictureFile);
  EXPECT_FALSE(QFile::exists(Dir() + "...BMP"));
}

TEST_F(CallerPicturesTest, LetterCaseOfPictureFilesDoesNotMatter) {
  WriteBitmap("bob green.bmp", Qt::green);
  EXPECT_EQ(pictures.Load("Bob Green").pixelColor(0, 0), QColor(Qt::green));

  // Saving over it replaces that file instead of adding a second spelling.
  const QImage red = Filled(Qt::red);
  pictures.Save("BOB GREEN", red);
  EXPECT_FALSE(QFile::exists(Dir() + "BOB GREEN.BMP"));
  EXPECT_EQ(QImage(Dir() + "bob green.bmp").pixelColor(0, 0), QColor(Qt::red));

  pictures.Delete("Bob green");
  EXPECT_FALSE(QFile::exists(Dir() + "bob green.bmp"));
}

TEST_F(CallerPicturesTest, SavesWindowsBitmaps) {
  pictures.Save("Carl", Filled(QColor(10, 20, 30), {5, 7}));
  QFile file(Dir() + "Carl.BMP");
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_TRUE(file.read(2) == "BM");
  QImageReader reader(Dir() + "Carl.BMP");
  EXPECT_EQ(reader.format(), "bmp");
  EXPECT_EQ(reader.read().pixelColor(3, 3), QColor(10, 20, 30));
}

TEST_F(CallerPicturesTest, UnwritablePictureRaisesAndLeavesNothing) {
  // A program folder that is really a regular file: nothing can be created in it.
  QFile blocker(dir.path() + "/blocker");
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  TCallerPictures blocked(dir.path() + "/blocker/");
  const QImage picture = Filled(Qt::white);
  try {
    blocked.Save("Dora", picture);
    FAIL() << "saved into a regular file";
  } catch (const EPictureFile& e) {
    EXPECT_EQ(std::string(e.what()),
              ("Cannot create file " + dir.path() + "/blocker/Dora.BMP").toStdString());
  }
  blocked.Delete("Dora");  // ignored failure
}

// How a picture chosen by hand (or imported) is kept.
TEST_F(CallerPicturesTest, StoredPicturesAreOpaqueBitmapsWithinTheSizeLimit) {
  const std::vector<std::pair<QSize, QSize>> sizes = {
      {{1000, 500}, {400, 200}}, {{30, 800}, {15, 400}}, {{50, 40}, {50, 40}}};
  for (const auto& [size, storedSize] : sizes) {
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    const QImage stored = pictures.Store("Eve", image);
    EXPECT_EQ(stored.size(), storedSize);
    const QImage file(Dir() + "Eve.BMP", "BMP");
    EXPECT_EQ(file.size(), storedSize);
    EXPECT_FALSE(file.hasAlphaChannel());
    EXPECT_EQ(file.pixelColor(0, 0), QColor(Qt::white));  // what showed through
  }
}

TEST_F(CallerPicturesTest, TheDefaultPictureIsNoCallersPicture) {
  WriteBitmap("Default.BMP", Qt::green);
  const QImage red = Filled(Qt::red);
  for (const QString name : {"Default", "DEFAULT", "default"}) {
    EXPECT_THROW(pictures.Save(name, red), EPictureFile);
    EXPECT_THROW(pictures.Store(name, red), EPictureFile);
    pictures.Delete(name);
    QString report;
    EXPECT_EQ(pictures.ShownFor(name, report).pixelColor(0, 0), QColor(Qt::green));
    EXPECT_TRUE(report.isEmpty());
  }
  EXPECT_EQ(QImage(Dir() + "Default.BMP", "BMP").pixelColor(0, 0), QColor(Qt::green));
}

TEST(BuiltInPictures, StartupPictureIs100By100With16Colours) {
  const QImage picture = StartupPicture();
  ASSERT_FALSE(picture.isNull());
  EXPECT_EQ(picture.size(), QSize(100, 100));
  std::set<QRgb> colours;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) colours.insert(picture.pixel(x, y));
  }
  EXPECT_LE(colours.size(), 16u);
  EXPECT_GT(colours.size(), 1u);
}

TEST(BuiltInPictures, DefaultPictureIsAWindowsBitmap) {
  QFile file(QStringLiteral(QUORVEL_RESOURCES_DIR "/Default.BMP"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray header = file.read(30);
  ASSERT_EQ(header.size(), 30);
  EXPECT_TRUE(header.startsWith("BM"));
  EXPECT_EQ(static_cast<unsigned char>(header[14]), 40u);  // BITMAPINFOHEADER
  EXPECT_FALSE(TCallerPictures(QStringLiteral(QUORVEL_RESOURCES_DIR "/")).LoadDefault().isNull());
}

}  // namespace

// A program installed where the user may not write: its own pictures are
// read from its folder, the user's are written to and read first from the
// data folder.
TEST_F(CallerPicturesTest, ProgramFolderPicturesAreReadAndTheDataFolderWins) {
  QTemporaryDir program;
  const QString programDir = program.path() + "/";
  WriteBitmap(programDir + "Default.BMP", Qt::green);
  WriteBitmap(programDir + "Bob.BMP", Qt::blue);
  TCallerPictures split(programDir, Dir());

  EXPECT_EQ(split.LoadDefault().pixelColor(0, 0), QColor(Qt::green));
  EXPECT_EQ(split.DefaultFile(), programDir + "Default.BMP");
  EXPECT_EQ(split.Load("bob").pixelColor(0, 0), QColor(Qt::blue));
  QString report;
  split.ShownFor("Bob", report);
  EXPECT_EQ(split.LastShownFile(), programDir + "Bob.BMP");
  split.ShownFor("Nobody", report);
  EXPECT_EQ(split.LastShownFile(), programDir + "Default.BMP");
  EXPECT_TRUE(report.isEmpty());

  // Written and deleted only in the data folder.
  split.Save("Carol", split.LoadDefault());
  EXPECT_TRUE(QFile::exists(Dir() + "Carol.BMP"));
  EXPECT_FALSE(QFile::exists(programDir + "Carol.BMP"));
  split.Save("Bob", QImage(QSize(2, 2), QImage::Format_RGB32));
  EXPECT_EQ(split.Load("Bob").size(), QSize(2, 2));  // the user's own wins
  split.Delete("Bob");
  EXPECT_FALSE(QFile::exists(Dir() + "Bob.BMP"));
  EXPECT_TRUE(QFile::exists(programDir + "Bob.BMP"));  // the program's stays

  WriteBitmap(Dir() + "default.bmp", Qt::red);
  EXPECT_EQ(split.LoadDefault().pixelColor(0, 0), QColor(Qt::red));
  split.ShownDefault(report);
  EXPECT_EQ(split.LastShownFile(), Dir() + "default.bmp");
}
