// quorveldb: the caller database from the command line, through the same
// component and record as the program itself.
#include <QFile>
#include <clocale>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "inidb/caller_database_config.h"
#include "platform/app_folders.h"

namespace {

constexpr int ExitOk = 0;
constexpr int ExitDatabaseError = 1;
constexpr int ExitUsage = 2;

const char Usage[] =
    "usage: quorveldb FILE COMMAND\n"
    "FILE \"Callers.DB\" alone is the program's own caller database (write\n"
    "\"./Callers.DB\" for the one in the current folder)\n"
    "commands:\n"
    "  list                       the callers' names, in sorted order\n"
    "  count                      the number of callers\n"
    "  get NAME                   prints NAME, a tab and the number\n"
    "  add NAME NUMBER            adds a caller\n"
    "  update KEY NAME NUMBER     replaces the caller KEY (NAME may differ)\n"
    "  delete KEY                 deletes the caller KEY\n";

// The message as the program's error report shows it: a full stop is added
// when the last character sorts after ".".
std::string WithFullStop(const std::string& message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
  return message;
}

// The file the user means: the bare name of the program's database file is
// the program's own (its folder, or the user's data folder for a program
// installed system-wide); any other name is taken as it is.
std::string DatabaseFile(const std::string& argument) {
  if (argument != kCallersFileName) return argument;
  const platform::TAppFolders folders = platform::PrepareAppFolders(
      platform::ExecutableFolder(), {QString::fromLatin1(kCallersFileName)});
  return QFile::encodeName(folders.data + QString::fromLatin1(kCallersFileName)).toStdString();
}

// A name the program's window would refuse: reported like a database error.
bool RefusedName(const std::string& name) {
  if (!IsReservedCallerName(name)) return false;
  std::fprintf(stderr, "%s\n", WithFullStop(InvalidCallerNameText).c_str());
  return true;
}

int RunCommand(TIniDBase& db, const std::vector<std::string>& args) {
  const std::string& command = args[0];
  const std::size_t operands = args.size() - 1;
  if (command == "list" && operands == 0) {
    for (const std::string& key : db.GetRecordList()) std::printf("%s\n", key.c_str());
  } else if (command == "count" && operands == 0) {
    std::printf("%d\n", db.GetNumRecs());
  } else if (command == "get" && operands == 1) {
    TCallerRecord record;
    db.GetRecord(args[1], record);
    std::printf("%s\t%s\n", record.CallerName.Get().c_str(), record.CallerID.Get().c_str());
  } else if (command == "add" && operands == 2) {
    if (RefusedName(args[1])) return ExitDatabaseError;
    db.AddRecord(MakeCallerRecord(args[1], args[2]));
  } else if (command == "update" && operands == 3) {
    if (RefusedName(args[2])) return ExitDatabaseError;
    db.UpdRecord(args[1], MakeCallerRecord(args[2], args[3]));
  } else if (command == "delete" && operands == 1) {
    db.DelRecord(args[1]);
  } else {
    std::fputs(Usage, stderr);
    return ExitUsage;
  }
  return ExitOk;
}

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");  // the user's collation orders the list
  if (argc < 3) {
    std::fputs(Usage, stderr);
    return ExitUsage;
  }
  try {
    TIniDBase db;
    ApplyCallerDatabaseConfig(db);
    db.SetFileName(DatabaseFile(argv[1]));
    const int rc = RunCommand(db, std::vector<std::string>(argv + 2, argv + argc));
    if (std::fflush(stdout) != 0) {
      std::fputs(WithFullStop("Cannot write the output").c_str(), stderr);
      std::fputc('\n', stderr);
      return ExitDatabaseError;
    }
    return rc;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", WithFullStop(e.what()).c_str());
    return ExitDatabaseError;
  }
}
