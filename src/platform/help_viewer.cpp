#include "help_viewer.h"

#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace platform {

QString HelpPageUrl(const QString& appDirectory, const QString& topic, const QString& language) {
  QString page = appDirectory + QString::fromUtf8(kManualPage);
  if (!language.isEmpty()) {
    const QFileInfo manual(page);
    const QString translated = manual.path() + QLatin1Char('/') + language + QLatin1Char('/') + manual.fileName();
    if (QFileInfo::exists(translated)) page = translated;
  }
  QUrl url = QUrl::fromLocalFile(page);
  url.setFragment(topic);
  return url.toString(QUrl::FullyEncoded);
}

void StartHelpViewer(const QString& appDirectory, const QString& topic) {
  QProcess::startDetached(QString::fromUtf8(kHelpViewerProgram),
                          {HelpPageUrl(appDirectory, topic)});
}

}  // namespace platform
