#include "help_viewer.h"

#include <QProcess>
#include <QUrl>

namespace platform {

QString HelpPageUrl(const QString& appDirectory, const QString& topic) {
  QUrl url = QUrl::fromLocalFile(appDirectory + QString::fromUtf8(kManualPage));
  url.setFragment(topic);
  return url.toString(QUrl::FullyEncoded);
}

void StartHelpViewer(const QString& appDirectory, const QString& topic) {
  QProcess::startDetached(QString::fromUtf8(kHelpViewerProgram),
                          {HelpPageUrl(appDirectory, topic)});
}

}  // namespace platform
