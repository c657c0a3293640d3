#include "app_globals.h"

namespace {
platform::TAppFolders g_appFolders;
QString g_helpTopic;
}  // namespace

const QString& AppDirectory() { return g_appFolders.program; }
const QString& DataDirectory() { return g_appFolders.data; }
const platform::TAppFolders& AppFolders() { return g_appFolders; }
void SetAppFolders(const platform::TAppFolders& folders) { g_appFolders = folders; }
void SetAppDirectory(const QString& directory) { g_appFolders = {directory, directory}; }

const QString& HelpTopic() { return g_helpTopic; }
void SetHelpTopic(const QString& topic) { g_helpTopic = topic; }
