// The manual beside the built program: the page every help request opens,
// at the anchors the windows ask for.
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QUrl>
#include <gtest/gtest.h>

#include "app/app_globals.h"
#include "app/app_help.h"
#include "platform/ui_language.h"
#include "remote/setup_dialog.h"
#include "url_recorder.h"

namespace {

const QString kBinDir = QStringLiteral(QUORVEL_E2E_BIN_DIR);

// The English manual, or its translation in html/<language>/.
QString ManualPage(const QString& language = QString()) {
  return kBinDir + (language.isEmpty() ? QString("/html/manual.html") : "/html/" + language + "/manual.html");
}

QString ManualText(const QString& language = QString()) {
  QFile page(ManualPage(language));
  if (!page.open(QIODevice::ReadOnly)) return QString();
  return QString::fromUtf8(page.readAll());
}

QStringList Captures(const QString& text, const QString& pattern) {
  QStringList found;
  QRegularExpressionMatchIterator it = QRegularExpression(pattern).globalMatch(text);
  while (it.hasNext()) found << it.next().captured(1);
  return found;
}

QStringList Ids(const QString& text) { return Captures(text, R"(\bid\s*=\s*"([^"]*)\")"); }

}  // namespace

class ManualLanguage : public ::testing::TestWithParam<const char*> {
 protected:
  QString Text() const { return ManualText(QString::fromLatin1(GetParam())); }
};

TEST_P(ManualLanguage, HoldsEachHelpTopicOnceAndEveryLinkInsideTheManualResolves) {
  const QString text = Text();
  ASSERT_FALSE(text.isEmpty()) << "no manual beside the program in " << kBinDir.toStdString();

  const QStringList ids = Ids(text);
  const QSet<QString> unique(ids.begin(), ids.end());
  EXPECT_EQ(unique.size(), ids.size()) << "an anchor is defined twice";
  EXPECT_TRUE(unique.contains(kMainHelpTopic));
  EXPECT_TRUE(unique.contains(kSetupHelpTopic));
  EXPECT_TRUE(unique.contains(TfDDESetup::kHelpTopic));

  for (const QString& target : Captures(text, R"(\bhref\s*=\s*"#([^"]*)\")"))
    EXPECT_TRUE(unique.contains(target)) << "link to a missing anchor #" << target.toStdString();
}

TEST_P(ManualLanguage, HasTheSameTopicsAsTheEnglishManual) {
  const QStringList ids = Ids(Text());
  const QStringList english = Ids(ManualText());
  EXPECT_EQ(QSet<QString>(ids.begin(), ids.end()), QSet<QString>(english.begin(), english.end()));
  EXPECT_TRUE(Text().contains(QString("<html lang=\"%1\">").arg(*GetParam() ? GetParam() : "en")));
}

TEST_P(ManualLanguage, IsReadableWithoutANetworkOrOtherFiles) {
  const QString text = Text();
  ASSERT_FALSE(text.isEmpty());
  EXPECT_TRUE(text.contains(QRegularExpression(R"(<meta\s+charset="utf-8">)")));
  EXPECT_TRUE(Captures(text, R"(\bsrc\s*=\s*"([^"]*)\")").isEmpty());
  EXPECT_TRUE(Captures(text, R"(<link\b([^>]*)>)").isEmpty());
  EXPECT_TRUE(Captures(text, R"(<script\b([^>]*)>)").isEmpty());
  EXPECT_TRUE(Captures(text, R"(@import\s+([^;]*))").isEmpty());
}

// Help opens the manual in the language the program runs in.
TEST_P(ManualLanguage, HelpOpensTheManualBesideTheProgramAtTheWindowsTopic) {
  const QString text = Text();
  ASSERT_FALSE(text.isEmpty());
  const QStringList ids = Ids(text);
  const platform::TUiLanguage language(QLocale(QString::fromLatin1(*GetParam() ? GetParam() : "en")),
                                       kBinDir);
  ASSERT_EQ(language.Language(), QString::fromLatin1(GetParam()));
  SetAppDirectory(kBinDir + "/");
  UrlRecorder handler;

  for (const char* topic : {kMainHelpTopic, kSetupHelpTopic}) {
    SetHelpTopic(QString::fromLatin1(topic));
    bool callHelp = true;
    AppOnHelp(kHelpSetPopupPos, 0, callHelp);
    const QUrl url(handler.Take());
    ASSERT_TRUE(url.isLocalFile()) << topic;
    EXPECT_EQ(QDir(url.toLocalFile()).canonicalPath(),
              QDir(ManualPage(QString::fromLatin1(GetParam()))).canonicalPath());
    EXPECT_EQ(url.fragment(), QString::fromLatin1(topic));
    EXPECT_TRUE(ids.contains(url.fragment())) << topic;
  }
}

INSTANTIATE_TEST_SUITE_P(Manual, ManualLanguage, ::testing::Values("", "de"),
                         [](const auto& info) { return std::string(*info.param ? info.param : "en"); });
