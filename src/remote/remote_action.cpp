#include "remote/remote_action.h"

#include <QCoreApplication>
#include <QFile>
#include <QObject>
#include <cerrno>
#include <cstring>

#include "platform/dde_client_conv.h"
#include "platform/delay_with_messages.h"
#include "platform/message_dialogs.h"
#include "platform/process_start.h"
#include "platform/script_host.h"
#include "platform/watched_process.h"
#include "remote/start_failure.h"
#include "remote/text_routines.h"

using remote::TRemoteProfile;
using Kind = TForwardingOutcome::Kind;

namespace {

constexpr char kCommentMark = ';';
constexpr char kLineBreak[] = "\r\n";

QString Translated(const char* text) { return QCoreApplication::translate("TRemoteAction", text); }

void ShowStartFailure(const QString& text) {
  platform::ShowMessageBox(text, Translated(kStartErrorCaption), platform::MessageIcon::None);
}

std::string Local8Bit(const QString& path) { return QFile::encodeName(path).toStdString(); }

// Caller data comes from the network; without control characters it can
// never add a line to a command or a script.
TCallData Cleaned(const TCallData& call) {
  return {WithoutControlCharacters(call.CallerID), WithoutControlCharacters(call.CallerName),
          WithoutControlCharacters(call.LineName), call.Forwarding};
}

}  // namespace

TRemoteAction::TRemoteAction(platform::TDdeClientConv& ddeClient, QString dataDirectory)
    : ddeClient_(ddeClient),
      dataDirectory_(std::move(dataDirectory)),
      clock_([] { return std::chrono::system_clock::now(); }),
      delay_(DelayWithMessages),
      timeLocale_(TPlaceholderSources::UserTimeLocale()),
      runningScripts_(std::make_unique<QObject>()) {}

TRemoteAction::~TRemoteAction() = default;

TForwardingOutcome TRemoteAction::Begin(const TCallData& call) {
  TForwardingOutcome outcome;
  outcome.Forwarding = call.Forwarding;
  outcome.CallerID = call.CallerID;
  outcome.CallerName = call.CallerName;
  return outcome;
}

void TRemoteAction::Report(TForwardingOutcome outcome, Kind what, std::string detail,
                           int status) const {
  outcome.What = what;
  outcome.Detail = std::move(detail);
  outcome.Status = status;
  if (outcomeHook_) outcomeHook_(outcome);
}

TPlaceholderSources TRemoteAction::Sources(const TCallData& call) const {
  TPlaceholderSources sources;
  sources.Clock = clock_;
  sources.LineName = [line = call.LineName] { return line; };
  sources.TimeLocale = timeLocale_;
  return sources;
}

QString TRemoteAction::ScriptFilePath() const {
  return dataDirectory_ + QString::fromLatin1(platform::kScriptFileName);
}

void TRemoteAction::RunRemoteAction(const TRemoteProfile& profile, const TCallData& call) {
  if (profile.DdeLink) {
    RunDdeAction(profile, call);
  } else {
    RunScriptAction(profile, call);
  }
}

void TRemoteAction::RunDdeAction(const TRemoteProfile& profile, const TCallData& rawCall) {
  const TCallData call = Cleaned(rawCall);
  const TForwardingOutcome outcome = Begin(call);
  const TPlaceholderSources sources = Sources(call);
  auto expand = [&](const QString& text) {
    return SubstitutePlaceholders(text.toStdString(), call.CallerID, call.CallerName, sources);
  };
  const std::string service = profile.Application.toStdString();

  ddeClient_.SetLink(profile.Application, profile.Topic);
  ddeClient_.OpenLink();

  if (!ddeClient_.IsOpen() && profile.StartExe && !profile.ExePath.isEmpty()) {
    std::vector<std::string> arguments;
    if (!profile.DBPath.isEmpty()) arguments.push_back(Local8Bit(profile.DBPath));
    const int error = platform::StartProcessDetached(Local8Bit(profile.ExePath), arguments);
    if (error != 0) {
      const std::string reason = StartFailureReason(error);
      Report(outcome, Kind::ProgramNotStarted,
             profile.ExePath.toStdString() + ": " + (reason.empty() ? std::strerror(error) : reason));
      ShowStartFailure(Translated(kCanNotStart).arg(profile.ExePath) + QLatin1Char('\n') +
                       QCoreApplication::translate("StartFailure", reason.c_str()));
      return;
    }
    Report(outcome, Kind::ProgramStarted, profile.ExePath.toStdString());
    delay_(kStartedProgramWaitMs);
    ddeClient_.OpenLink();
  }
  if (!ddeClient_.IsOpen()) {
    Report(outcome, Kind::DBusNotOpen, service);
    return;
  }

  int sent = 0;
  const std::string poke = expand(profile.PokeData);
  if (!poke.empty() && !profile.PokeLocation.isEmpty()) {
    sent += ddeClient_.PokeData(profile.PokeLocation, QString::fromStdString(poke)) ? 1 : 0;
    delay_(kTransactionWaitMs);
  }
  for (const std::string& line : SplitLines(profile.Commands.toStdString())) {
    const std::string command = expand(QString::fromStdString(line));
    if (command.empty() || command.front() == kCommentMark) continue;
    sent += ddeClient_.ExecuteMacro(QString::fromStdString(command)) ? 1 : 0;
    delay_(kTransactionWaitMs);
  }
  ddeClient_.CloseLink();
  Report(outcome, Kind::DBusSent, service, sent);
}

void TRemoteAction::RunScriptAction(const TRemoteProfile& profile, const TCallData& rawCall) {
  const TCallData call = Cleaned(rawCall);
  const TForwardingOutcome outcome = Begin(call);
  std::string text;
  for (const std::string& line : SplitLines(profile.Commands.toStdString())) {
    text += line + kLineBreak;
  }
  // The same values go into the script's text and its environment.
  const TPlaceholderValues values =
      ReadPlaceholderValues(call.CallerID, call.CallerName, Sources(call));
  const std::vector<std::string> lines = SplitLines(SubstituteScriptPlaceholders(text, values));

  const QString path = ScriptFilePath();
  const std::string fullPath = Local8Bit(path);
  const std::string failure = platform::WriteScriptFile(fullPath, lines);
  if (!failure.empty()) {
    Report(outcome, Kind::ScriptNotWritten, fullPath + ": " + failure);
    platform::ShowGeneralErrorReport(platform::CannotCreateFileText(path) + QStringLiteral(". ") +
                                     QString::fromLocal8Bit(failure));
    return;
  }
  if (!WaitForScriptFile(fullPath)) {
    Report(outcome, Kind::ScriptNotWritten, fullPath + ": " + std::strerror(ENOENT));
    platform::ShowGeneralErrorReport(platform::FileNotFoundText(path));
    return;
  }
  StartScript(fullPath, values, outcome);
}

// The script is watched, not waited for: its outcome is reported when it ends.
void TRemoteAction::StartScript(const std::string& fullPath, const TPlaceholderValues& values,
                                const TForwardingOutcome& outcome) {
  platform::EnvironmentAdditions environment;
  for (const TPlaceholderKey& key : kPlaceholderKeys) {
    environment.emplace_back(std::string(key.Environment), values.Of(key.Which));
  }
  auto* script = new platform::TWatchedProcess(runningScripts_.get());
  const int error =
      script->Start(platform::kScriptHost, platform::ScriptHostArguments(fullPath), environment);
  if (error != 0) {
    delete script;
    Report(outcome, Kind::ScriptNotStarted,
           std::string(platform::kScriptHost) + ": " + std::strerror(error));
    ShowStartFailure(Translated(kCanNotStart).arg(QString::fromLatin1(platform::kScriptHost)));
    return;
  }
  QObject::connect(script, &platform::TWatchedProcess::Finished, script,
                   [this, outcome, script](const platform::TProcessEnd& end) {
                     Report(outcome, end.Killed ? Kind::ScriptKilled : Kind::ScriptEnded,
                            end.LastErrorLine, end.Status);
                     script->deleteLater();
                   });
}

// The file was just written, so it is normally there at the first look; the
// looks are bounded so that a file removed meanwhile cannot hang the call.
bool TRemoteAction::WaitForScriptFile(const std::string& fullPath) {
  for (int check = 0; check < kMaxScriptFileChecks; ++check) {
    if (platform::ScriptFileExists(fullPath)) return true;
    delay_(kScriptFileCheckWaitMs);
  }
  return platform::ScriptFileExists(fullPath);
}
