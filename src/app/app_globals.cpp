#include "app_globals.h"

namespace {
QString g_appDirectory;
QString g_helpTopic;
}  // namespace

const QString& AppDirectory() { return g_appDirectory; }
void SetAppDirectory(const QString& directory) { g_appDirectory = directory; }

const QString& HelpTopic() { return g_helpTopic; }
void SetHelpTopic(const QString& topic) { g_helpTopic = topic; }
