// quorveldb: the caller database from the command line, through the same
// component and record as the program itself.
#include <QCoreApplication>
#include <QFileInfo>
#include <clocale>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "app/reg_setting.h"
#include "calls/caller_pictures.h"
#include "calls/caller_text.h"
#include "contacts/contacts_import.h"
#include "inidb/caller_database_config.h"
#include "numbers/caller_lookup.h"
#include "numbers/equivalent_callers.h"

namespace {

constexpr int ExitOk = 0;
constexpr int ExitDatabaseError = 1;
constexpr int ExitNotFound = 1;
constexpr int ExitNothingImported = 1;
constexpr int ExitUsage = 2;

constexpr char ReplaceOption[] = "--replace";

const char Usage[] =
    "usage: quorveldb FILE COMMAND\n"
    "commands:\n"
    "  list                       the callers' names, in sorted order\n"
    "  count                      the number of callers\n"
    "  get NAME                   prints NAME, a tab and the number\n"
    "  add NAME NUMBER            adds a caller\n"
    "  update KEY NAME NUMBER     replaces the caller KEY (NAME may differ)\n"
    "  delete KEY                 deletes the caller KEY\n"
    "  find NUMBER                the callers a call from NUMBER shows, name, a tab\n"
    "                             and the number a line; exit 1 when none\n"
    "  import VCF [--replace]     adds the contacts of a vCard file, pictures beside\n"
    "                             FILE; a summary on stderr; exit 1 when none added\n"
    "Numbers without a country code are read in the home region (Settings/Region).\n";

// The callers a call shows: number as the line would deliver it, then the
// same two passes as the program.
int FindCallers(TIniDBase& db, const std::string& number) {
  numbers::TEquivalentCallers equivalents(HomeRegionSetting());
  const std::string shown = calls::FormatCallerNumber(QString::fromStdString(number));
  const std::vector<TCallerRecord> callers = numbers::FindCallers(db, shown, equivalents);
  for (const TCallerRecord& caller : callers)
    std::printf("%s\t%s\n", caller.CallerName.Get().c_str(), caller.CallerID.Get().c_str());
  return callers.empty() ? ExitNotFound : ExitOk;
}

// Pictures go beside the database file, as they go beside the program.
int ImportContacts(TIniDBase& db, const std::string& fileName, bool replace) {
  const QString folder = QFileInfo(QString::fromStdString(db.FileName())).absolutePath() + "/";
  const TCallerPictures pictures(folder);
  const contacts::TImportSummary summary = contacts::ImportContacts(
      db, pictures, HomeRegionSetting(), {QString::fromStdString(fileName), replace});
  std::fprintf(stderr, "%s\n", summary.Text().toStdString().c_str());
  return summary.AnythingImported() ? ExitOk : ExitNothingImported;
}

// The message as the program's error report shows it: a full stop is added
// when the last character sorts after ".".
std::string WithFullStop(const std::string& message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
  return message;
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
  } else if (command == "find" && operands == 1) {
    return FindCallers(db, args[1]);
  } else if (command == "import" && (operands == 1 || (operands == 2 && args[2] == ReplaceOption))) {
    return ImportContacts(db, args[1], operands == 2);
  } else {
    std::fputs(Usage, stderr);
    return ExitUsage;
  }
  return ExitOk;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);  // finds the image readers for pictures
  std::setlocale(LC_ALL, "");  // the user's collation orders the list
  if (argc < 3) {
    std::fputs(Usage, stderr);
    return ExitUsage;
  }
  try {
    TIniDBase db;
    ApplyCallerDatabaseConfig(db);
    db.SetFileName(argv[1]);
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
