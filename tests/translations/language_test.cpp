// The language the program speaks: chosen by the desktop's environment, and
// the framework's captions, buttons and file errors in the real message
// boxes in English and in German.
#include <QLocale>
#include <QMessageBox>
#include <QProcess>
#include <gtest/gtest.h>

#include "inidb/db_errors.h"
#include "message_box_answerer.h"
#include "platform/framework_texts.h"
#include "platform/message_dialogs.h"
#include "platform/ui_language.h"

namespace {

struct TDesktop {
  const char* name;
  const char* language;  // LANGUAGE; nullptr: not set
  const char* lcAll;
  const char* lang;
  const char* spoken;  // what the program prints: language and error caption
};

void PrintTo(const TDesktop& d, std::ostream* out) { *out << d.name; }

class DesktopLanguage : public ::testing::TestWithParam<TDesktop> {};

}  // namespace

TEST_P(DesktopLanguage, DecidesTheProgramsLanguage) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) env.remove(name);
  const TDesktop& d = GetParam();
  if (d.language) env.insert("LANGUAGE", d.language);
  if (d.lcAll) env.insert("LC_ALL", d.lcAll);
  if (d.lang) env.insert("LANG", d.lang);
  QProcess probe;
  probe.setProcessEnvironment(env);
  probe.start(QStringLiteral(QUORVEL_LANGUAGE_PROBE), {});
  ASSERT_TRUE(probe.waitForFinished(60000));
  EXPECT_EQ(QString::fromUtf8(probe.readAllStandardOutput()).trimmed(), QString::fromUtf8(d.spoken));
}

INSTANTIATE_TEST_SUITE_P(
    Language, DesktopLanguage,
    ::testing::Values(
        TDesktop{"GermanLang", nullptr, nullptr, "de_DE.UTF-8", "de|Fehler"},
        TDesktop{"AustrianLang", nullptr, nullptr, "de_AT.UTF-8", "de|Fehler"},
        TDesktop{"LanguageBeforeLang", "de", nullptr, "en_US.UTF-8", "de|Fehler"},
        TDesktop{"EnglishLanguageBeforeGermanLang", "en_GB:de", nullptr, "de_DE.UTF-8", "|Error"},
        TDesktop{"FirstLanguageWithACatalogue", "fr:de", nullptr, "C.UTF-8", "de|Fehler"},
        TDesktop{"LcAllBeforeLang", nullptr, "de_DE.UTF-8", "en_US.UTF-8", "de|Fehler"},
        TDesktop{"NoCatalogueStaysEnglish", nullptr, nullptr, "fr_FR.UTF-8", "|Error"},
        TDesktop{"CLocale", nullptr, nullptr, "C", "|Error"}),
    [](const auto& info) { return std::string(info.param.name); });

namespace {

struct TFrameworkTexts {
  const char* language;
  const char* error;
  const char* warning;
  const char* confirmation;
  const char* yes;
  const char* no;
  const char* cancel;
  const char* cannotOpen;   // the file error for /data/x.BMP, as the report shows it
  const char* dbMessage;    // "Record already exists", as the report shows it
};

void PrintTo(const TFrameworkTexts& t, std::ostream* out) { *out << t.language; }

class FrameworkTexts : public ::testing::TestWithParam<TFrameworkTexts> {
 protected:
  FrameworkTexts() : language_(QLocale(QString::fromLatin1(GetParam().language)), QUORVEL_BIN_DIR) {}
  static QString U(const char* text) { return QString::fromUtf8(text); }
  const platform::TUiLanguage language_;
};

}  // namespace

TEST_P(FrameworkTexts, ShowInTheRealMessageBoxes) {
  const TFrameworkTexts& t = GetParam();
  EXPECT_EQ(platform::FrameworkText(platform::kWarningDialogCaption), U(t.warning));
  MessageBoxAnswerer answerer({"OK", U(t.no), U(t.cancel)});
  platform::ShowErrorDialog(QStringLiteral("Invalid Caller ID"));
  EXPECT_FALSE(platform::AskConfirmation(QStringLiteral("Create new settings for [x]")));
  EXPECT_FALSE(platform::ShowMessageBox(QStringLiteral("Delete entry for x"), QStringLiteral("Confirm"),
                                        platform::MessageIcon::Warning, /*withCancel=*/true));
  platform::ShowGeneralErrorReport(platform::CannotOpenFileText(QStringLiteral("/data/x.BMP")));
  platform::ShowGeneralErrorReport(ERecordExists(dberr::RecordExists));

  const auto& seen = answerer.seen();
  ASSERT_EQ(seen.size(), 5u);
  EXPECT_EQ(seen[0].caption, U(t.error));
  EXPECT_EQ(seen[0].buttons, QStringList{"OK"});
  EXPECT_EQ(seen[1].caption, U(t.confirmation));
  EXPECT_EQ(seen[1].buttons, (QStringList{U(t.yes), U(t.no)}));
  EXPECT_EQ(seen[2].caption, "Confirm");  // the program's own caption, as given
  EXPECT_EQ(seen[2].buttons, (QStringList{"OK", U(t.cancel)}));
  EXPECT_EQ(seen[3].caption, "Quorvel");
  EXPECT_EQ(seen[3].text, U(t.cannotOpen));
  EXPECT_EQ(seen[4].text, U(t.dbMessage));
}

INSTANTIATE_TEST_SUITE_P(
    Language, FrameworkTexts,
    ::testing::Values(TFrameworkTexts{"en", "Error", "Warning", "Confirm", "&Yes", "&No", "Cancel",
                                      "Cannot open file /data/x.BMP.", "Record already exists."},
                      TFrameworkTexts{"de", "Fehler", "Warnung", "Bestätigung", "&Ja", "&Nein",
                                      "Abbrechen", "Datei /data/x.BMP kann nicht geöffnet werden.",
                                      "Datensatz existiert bereits."}),
    [](const auto& info) { return std::string(info.param.language); });
