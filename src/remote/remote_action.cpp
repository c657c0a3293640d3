#include "remote/remote_action.h"

#include <QFile>

#include "platform/dde_client_conv.h"
#include "platform/delay_with_messages.h"
#include "platform/message_dialogs.h"
#include "platform/process_start.h"
#include "platform/script_host.h"
#include "remote/remote_profile_fields.h"
#include "remote/start_failure.h"
#include "remote/text_routines.h"

namespace {

constexpr char kCommentMark = ';';
constexpr char kLineBreak[] = "\r\n";

void ShowStartFailure(const QString& text) {
  platform::ShowMessageBox(text, QString::fromLatin1(kStartErrorCaption),
                           platform::MessageIcon::None);
}

std::string Local8Bit(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace

TRemoteAction::TRemoteAction(const TRemoteProfileFields& fields,
                             platform::TDdeClientConv& ddeClient, TCallData call,
                             QString appDirectory)
    : fields_(fields),
      ddeClient_(ddeClient),
      call_(std::move(call)),
      appDirectory_(std::move(appDirectory)),
      clock_([] { return std::chrono::system_clock::now(); }),
      delay_(DelayWithMessages),
      timeLocale_(TPlaceholderSources::UserTimeLocale()) {}

// Caller data comes from the network; without control characters it can
// never add a line to a script or a command.
std::string TRemoteAction::CallerID() const { return WithoutControlCharacters(call_.CallerID()); }
std::string TRemoteAction::CallerName() const {
  return WithoutControlCharacters(call_.CallerName());
}
std::string TRemoteAction::LineName() const { return WithoutControlCharacters(call_.LineName()); }

std::string TRemoteAction::Expand(const QString& templateText) const {
  TPlaceholderSources sources;
  sources.Clock = clock_;
  sources.LineName = [this] { return LineName(); };
  sources.TimeLocale = timeLocale_;
  return SubstitutePlaceholders(templateText.toStdString(), CallerID(), CallerName(), sources);
}

QString TRemoteAction::ScriptFilePath() const {
  return appDirectory_ + QString::fromLatin1(platform::kScriptFileName);
}

void TRemoteAction::RunRemoteAction() {
  if (fields_.DdeLinkSelected()) {
    RunDdeAction();
  } else {
    RunScriptAction();
  }
}

void TRemoteAction::RunDdeAction() {
  ddeClient_.SetLink(fields_.Application(), fields_.Topic());
  ddeClient_.OpenLink();

  if (!ddeClient_.IsOpen() && fields_.StartExe() && !fields_.ExePath().isEmpty()) {
    const QString exePath = fields_.ExePath();
    const QString dbPath = fields_.DBPath();
    std::vector<std::string> arguments;
    if (!dbPath.isEmpty()) arguments.push_back(Local8Bit(dbPath));
    const int error = platform::StartProcessDetached(Local8Bit(exePath), arguments);
    if (error != 0) {
      ShowStartFailure(QString::fromLatin1(kCanNotStart) + exePath + QLatin1Char('\n') +
                       QString::fromStdString(StartFailureReason(error)));
      return;
    }
    delay_(kStartedProgramWaitMs);
    ddeClient_.OpenLink();
  }
  if (!ddeClient_.IsOpen()) return;

  const std::string poke = Expand(fields_.PokeData());
  const QString location = fields_.PokeLocation();
  if (!poke.empty() && !location.isEmpty()) {
    ddeClient_.PokeData(location, QString::fromStdString(poke));
    delay_(kTransactionWaitMs);
  }

  // The memo may change during the waits, so its line count is read anew.
  for (int index = 0; index < fields_.CommandLineCount(); ++index) {
    const std::string command = Expand(fields_.CommandLine(index));
    if (command.empty() || command.front() == kCommentMark) continue;
    ddeClient_.ExecuteMacro(QString::fromStdString(command));
    delay_(kTransactionWaitMs);
  }
  ddeClient_.CloseLink();
}

void TRemoteAction::RunScriptAction() {
  QString text;
  const int lineCount = fields_.CommandLineCount();
  for (int index = 0; index < lineCount; ++index) {
    text += fields_.CommandLine(index) + QLatin1String(kLineBreak);
  }
  const std::vector<std::string> lines = SplitLines(Expand(text));

  const QString path = ScriptFilePath();
  const std::string fullPath = Local8Bit(path);
  const std::string failure = platform::WriteScriptFile(fullPath, lines);
  if (!failure.empty()) {
    platform::ShowGeneralErrorReport(QStringLiteral("Datei %1 kann nicht erstellt werden. %2")
                                         .arg(path, QString::fromLocal8Bit(failure)));
    return;
  }
  if (!WaitForScriptFile(fullPath)) return;

  const auto now = clock_();
  const platform::EnvironmentAdditions environment{
      {kEnvNumber, CallerID()},
      {kEnvName, CallerName()},
      {kEnvDate, FormatShortDate(now, timeLocale_)},
      {kEnvTime, FormatLongTime(now, timeLocale_)},
      {kEnvLineName, LineName()},
  };
  const int error = platform::StartProcessDetached(
      platform::kScriptHost, platform::ScriptHostArguments(fullPath), environment);
  if (error != 0) {
    ShowStartFailure(QString::fromLatin1(kCanNotStart) +
                     QString::fromLatin1(platform::kScriptHost));
  }
}

// The file was just written, so it is normally there at the first look; the
// looks are bounded so that a file removed meanwhile cannot hang the call.
bool TRemoteAction::WaitForScriptFile(const std::string& fullPath) {
  for (int check = 0; check < kMaxScriptFileChecks; ++check) {
    if (platform::ScriptFileExists(fullPath)) return true;
    delay_(kScriptFileCheckWaitMs);
  }
  if (platform::ScriptFileExists(fullPath)) return true;
  platform::ShowGeneralErrorReport(QStringLiteral("Datei %1 nicht gefunden")
                                       .arg(QString::fromLocal8Bit(fullPath.c_str())));
  return false;
}
