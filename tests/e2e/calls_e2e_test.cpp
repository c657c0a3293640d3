// A call as the user sees it: the real program on a private X server,
// fakemodem as the line, Callers.DB and the pictures beside the program.
#include <QDeadlineTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QThread>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

#include <QJsonArray>
#include <QJsonObject>
#include <QUrl>

#include "e2e_waits.h"
#include "inidb/caller_database_config.h"
#include "notification_server.h"
#include "program_fixture.h"

namespace {

constexpr char kMainWindow[] = "^Calling\\.\\.\\.$";
// The window's client layout: the picture area above a 46 pixel panel.
constexpr int kPanelHeight = 46;
constexpr int kPictureHeight = 200;
constexpr int kPictureWidth = 197;

bool SameColour(QColor a, QColor b) {
  constexpr int kTolerance = 8;
  return std::abs(a.red() - b.red()) <= kTolerance && std::abs(a.green() - b.green()) <= kTolerance &&
         std::abs(a.blue() - b.blue()) <= kTolerance;
}

class CallsE2E : public ModemLineE2E {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(ModemLineE2E::SetUp());
    program_.Store("Mode", "0");
    ApplyCallerDatabaseConfig(db_);
    db_.SetFileName((program_.AppDirectory() + "Callers.DB").toStdString());
  }

  // Starts the program hidden in the tray, as it runs on a desktop.
  void StartInTray() {
    ASSERT_TRUE(program_.StartInTray(desktop_));
    ASSERT_FALSE(desktop_.WindowShown(kMainWindow));
    // The line is watched once the modem has been told to report caller ID.
    ASSERT_FALSE(modem_.WaitForOutput("got AT").isEmpty());
  }

  QImage Screenshot(const QString& window) {
    const QString file = program_.Path("shot.png");
    QFile::remove(file);
    QProcess import;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    desktop_.AddTo(env);
    import.setProcessEnvironment(env);
    import.start("import", {"-window", window, file});
    if (!import.waitForFinished(kE2EWaitMs) || import.exitCode() != 0) return QImage();
    return QImage(file);
  }

  // The colour at (x, y) of the picture area, once `accept` takes it.
  QColor WaitForPicturePixel(const QString& window, int x, int y,
                             const std::function<bool(QColor)>& accept) {
    const QDeadlineTimer deadline(kE2EWaitMs);
    QColor seen;
    do {
      const QImage shot = Screenshot(window);
      if (!shot.isNull()) {
        const int top = shot.height() - kPanelHeight - kPictureHeight;
        seen = shot.pixelColor(x, top + y);
        if (accept(seen)) return seen;
      }
      QThread::msleep(100);  // between screenshots only; the deadline bounds the wait
    } while (!deadline.hasExpired());
    return seen;
  }

  static void WriteHalvesBitmap(const QString& path, QColor left, QColor right) {
    QImage picture(20, 20, QImage::Format_RGB32);
    picture.fill(right);
    for (int y = 0; y < 20; ++y) {
      for (int x = 0; x < 10; ++x) picture.setPixelColor(x, y, left);
    }
    ASSERT_TRUE(picture.save(path, "BMP"));
  }

  // The number stored for `name` in the program's database, "-" when none.
  std::string StoredNumber(const char* name) {
    if (!db_.KeyExists(name)) return "-";
    TCallerRecord record{};
    db_.GetRecord(name, record);
    return record.CallerID.Get();
  }

  TIniDBase db_;
};

TEST_F(CallsE2E, StoredCallerPopsUpWithPicture) {
  db_.AddRecord(MakeCallerRecord("Alice Brown", "555-123-4567"));
  db_.AddRecord(MakeCallerRecord("Bob Green", "555-0102"));
  WriteHalvesBitmap(program_.AppDirectory() + "Alice Brown.BMP", Qt::red, Qt::blue);
  program_.Store("Notify", "1");  // with no notification service on the bus
  StartInTray();

  modem_.Command("call 5551234567 NETWORK NAME");
  const QString window = desktop_.WaitForWindow(kMainWindow, /*onlyVisible=*/true, kE2EWaitMs);
  ASSERT_FALSE(window.isEmpty());
  // The stored picture, stretched over the picture area: left half, right half.
  EXPECT_TRUE(SameColour(WaitForPicturePixel(window, kPictureWidth / 4, kPictureHeight / 2,
                                             [](QColor c) { return SameColour(c, Qt::red); }),
                         Qt::red));
  EXPECT_TRUE(SameColour(WaitForPicturePixel(window, 3 * kPictureWidth / 4, kPictureHeight / 2,
                                             [](QColor c) { return SameColour(c, Qt::blue); }),
                         Qt::blue));
  EXPECT_FALSE(desktop_.WindowShown("^Quorvel$"));  // no error report
}

TEST_F(CallsE2E, UnknownCallerIsSavedWithOneClick) {
  db_.AddRecord(MakeCallerRecord("Alice Brown", "555-123-4567"));
  StartInTray();

  modem_.Command("call 5550001234 New Caller");
  const QString window = desktop_.WaitForWindow(kMainWindow, /*onlyVisible=*/true, kE2EWaitMs);
  ASSERT_FALSE(window.isEmpty());
  // The default picture shows once the unknown caller is displayed, and the
  // button with it.
  const QColor expected = QImage(program_.AppDirectory() + "Default.BMP").pixelColor(10, 10);
  ASSERT_TRUE(SameColour(
      WaitForPicturePixel(window, 10, 10, [&](QColor c) { return SameColour(c, expected); }), expected));

  // "Save to database": 163 x 17 at (16, 180) over the picture area.
  const QImage shot = Screenshot(window);
  const int buttonY = shot.height() - kPanelHeight - kPictureHeight + 180 + 8;
  ASSERT_TRUE(desktop_.XDoTool({"mousemove", "--window", window, "96", QString::number(buttonY),
                                "click", "1"}));

  const QString picture = program_.AppDirectory() + "New Caller.BMP";
  ASSERT_TRUE(WaitForFile(picture));
  EXPECT_TRUE(SameColour(QImage(picture).pixelColor(10, 10), expected));
  EXPECT_EQ(StoredNumber("New Caller"), "555-000-1234");
  EXPECT_EQ(db_.GetNumRecs(), 2);
}

TEST_F(CallsE2E, UnknownCallerIsNotifiedUpdatedAsTheNameArrivesAndSavedFromTheNotification) {
  NotificationServer server(desktop_.BusAddress());
  ASSERT_TRUE(server.Start());
  program_.Store("Notify", "1");
  program_.Store("RingTimeout", "120");  // the call lasts until both parts have come
  StartInTray();

  modem_.Command("raw NMBR = 2125550199");
  const QJsonObject first = server.WaitForNotify(kE2EWaitMs);
  ASSERT_FALSE(first.isEmpty());
  EXPECT_EQ(first["app_name"], "Quorvel");
  EXPECT_EQ(first["replaces_id"], 0);
  EXPECT_EQ(first["summary"], "(Unknown)");
  EXPECT_EQ(first["body"], "212-555-0199 on " + modem_.LinkPath());
  EXPECT_EQ(first["actions"], QJsonArray({"show", "Show", "save", "Save"}));
  EXPECT_EQ(first["hints"].toObject()["image-path"],
            QUrl::fromLocalFile(program_.AppDirectory() + "Default.BMP").toString());
  EXPECT_FALSE(desktop_.WaitForWindow(kMainWindow, true, kE2EWaitMs).isEmpty());

  // The name comes after the call was shown: the same notification, updated.
  modem_.Command("raw NAME = CAROL");
  const QJsonObject second = server.WaitForNotify(kE2EWaitMs);
  EXPECT_EQ(second["replaces_id"], first["id"]);
  EXPECT_EQ(second["id"], first["id"]);
  EXPECT_EQ(second["summary"], "CAROL");

  server.Invoke(first["id"].toInteger(), "save");
  ASSERT_TRUE(WaitForFile(program_.AppDirectory() + "CAROL.BMP"));
  EXPECT_EQ(StoredNumber("CAROL"), "212-555-0199");
  EXPECT_FALSE(desktop_.WindowShown("^Quorvel$"));  // no error report
}

}  // namespace
