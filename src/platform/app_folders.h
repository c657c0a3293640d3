#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// Where the program finds its files. Read-only files that come with the
// program (Default.BMP, the manual) are in the program's folder. User data
// (Callers.DB, the caller pictures, the forwarding script) is kept in the
// program's folder too when the user may write there (a portable program,
// a build folder); otherwise, as for a program installed system-wide, in
// the user's data folder (UserDataFolder()).
namespace platform {

struct TAppFolders {
  QString program;  // ends in "/"
  QString data;     // ends in "/"; the same as `program` for a portable program
};

// The folder of the running program file, links resolved, ending in "/".
QString ExecutableFolder();

// Whether the running user may create and replace files in `folder`.
bool IsWritableFolder(const QString& folder);

// The folders for a program in `programFolder` (with or without the
// trailing "/"), deciding by `writable` whether it keeps its data there.
TAppFolders AppFoldersFor(const QString& programFolder,
                          const std::function<bool(const QString&)>& writable = IsWritableFolder);

// AppFoldersFor() for the real file system, with the data folder created
// (readable by the user alone) when it is the user's data folder and does
// not exist yet. A new data folder starts with a copy of each of
// `carriedOver` that the program's folder holds (a caller list an
// administrator put beside the program), so nothing kept there is lost from
// sight. A data folder that cannot be created is still returned: the first
// file written there reports the failure.
TAppFolders PrepareAppFolders(const QString& programFolder, const QStringList& carriedOver = {});

}  // namespace platform
