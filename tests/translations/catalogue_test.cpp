// The German catalogue: every text the program shows is translated, and the
// catalogue holds exactly the texts the sources mark, so a new text without
// a translation fails here.
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

namespace {

struct TMessage {
  QString context;
  QString source;
  QString translation;
  QString type;  // "unfinished", "vanished", "obsolete", or "" when done
};

std::vector<TMessage> ReadCatalogue(const QString& path) {
  std::vector<TMessage> messages;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return messages;
  QXmlStreamReader xml(&file);
  QString context;
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    if (xml.name() == u"name") {
      context = xml.readElementText();
    } else if (xml.name() == u"message") {
      messages.push_back({context, {}, {}, {}});
    } else if (xml.name() == u"source" && !messages.empty()) {
      messages.back().source = xml.readElementText();
    } else if (xml.name() == u"translation" && !messages.empty()) {
      messages.back().type = xml.attributes().value(QStringLiteral("type")).toString();
      messages.back().translation = xml.readElementText();
    }
  }
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  return messages;
}

// The %1, %2, ... a text fills in, in order of their numbers.
QStringList Placeholders(const QString& text) {
  QStringList found;
  QRegularExpressionMatchIterator it = QRegularExpression(QStringLiteral("%\\d")).globalMatch(text);
  while (it.hasNext()) found << it.next().captured();
  found.sort();
  return found;
}

QSet<QString> Keys(const std::vector<TMessage>& messages) {
  QSet<QString> keys;
  for (const TMessage& m : messages) keys.insert(m.context + QStringLiteral(" | ") + m.source);
  return keys;
}

}  // namespace

TEST(Catalogue, EveryTextIsTranslatedWithTheSamePlaceholders) {
  const std::vector<TMessage> messages = ReadCatalogue(QStringLiteral(QUORVEL_TS_FILE));
  ASSERT_GT(messages.size(), 100u);
  for (const TMessage& m : messages) {
    const std::string where = m.context.toStdString() + ": " + m.source.toStdString();
    EXPECT_EQ(m.type, "") << where;
    EXPECT_FALSE(m.translation.isEmpty()) << where;
    EXPECT_EQ(Placeholders(m.translation), Placeholders(m.source)) << where;
    // A menu entry keeps one access key.
    EXPECT_EQ(m.translation.count(QLatin1Char('&')) > 0, m.source.count(QLatin1Char('&')) > 0) << where;
  }
}

TEST(Catalogue, HoldsExactlyTheTextsTheSourcesMark) {
  QFile argsFile(QStringLiteral(QUORVEL_LUPDATE_ARGS_FILE));
  ASSERT_TRUE(argsFile.open(QIODevice::ReadOnly));
  QStringList args = QString::fromUtf8(argsFile.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString fresh = dir.filePath(QStringLiteral("fresh_de.ts"));
  args << QStringLiteral("-silent") << QStringLiteral("-ts") << fresh;

  QProcess lupdate;
  lupdate.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  lupdate.start(QStringLiteral(QUORVEL_LUPDATE), args);
  ASSERT_TRUE(lupdate.waitForFinished(120000));
  ASSERT_EQ(lupdate.exitCode(), 0);

  const QSet<QString> marked = Keys(ReadCatalogue(fresh));
  const QSet<QString> catalogued = Keys(ReadCatalogue(QStringLiteral(QUORVEL_TS_FILE)));
  ASSERT_FALSE(marked.isEmpty());
  for (const QString& key : marked - catalogued)
    ADD_FAILURE() << "not in the catalogue (run the update_translations target): " << key.toStdString();
  for (const QString& key : catalogued - marked)
    ADD_FAILURE() << "no longer in the sources: " << key.toStdString();
}
