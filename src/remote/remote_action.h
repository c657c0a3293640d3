#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "remote/forwarding_outcome.h"
#include "remote/placeholders.h"
#include "remote/remote_profile.h"

class QObject;
namespace platform {
class TDdeClientConv;
}

// Waits of a forwarding action, in milliseconds.
inline constexpr int kStartedProgramWaitMs = 1500;  // after starting the EXE Path program
inline constexpr int kTransactionWaitMs = 300;      // after the poke and each command
inline constexpr int kScriptFileCheckWaitMs = 100;  // between looks for the script file
// Looks for the written script file before giving up (5 s in all).
inline constexpr int kMaxScriptFileChecks = 50;

inline constexpr char kStartErrorCaption[] = QT_TRANSLATE_NOOP("TRemoteAction", "Error");
inline constexpr char kCanNotStart[] = QT_TRANSLATE_NOOP("TRemoteAction", "Can not start %1");

// The call a forwarding carries, as it stood when the forwarding was asked
// for: later events (another call, the line going idle) do not change it.
struct TCallData {
  std::string CallerID;
  std::string CallerName;
  std::string LineName;
  // The hand-off's number, which its outcome carries back (0: not numbered).
  std::uint64_t Forwarding = 0;
};

// Forwards one call in Passive mode as a profile says: a conversation with
// another application, or a script for the script host. Every path returns
// normally; failures are shown in a message box as before, and every
// forwarding's outcome goes to the outcome hook.
class TRemoteAction {
 public:
  using TOutcomeHook = std::function<void(const TForwardingOutcome&)>;

  // `dataDirectory` ends with a separator; the script file is written there.
  TRemoteAction(platform::TDdeClientConv& ddeClient, QString dataDirectory);
  ~TRemoteAction();
  TRemoteAction(const TRemoteAction&) = delete;
  TRemoteAction& operator=(const TRemoteAction&) = delete;

  // The DDE action for a "DDE Link" profile, the script action otherwise.
  // Returns once the action is done; a script is not waited for: its outcome
  // follows when it ends, while the event loop runs.
  void RunRemoteAction(const remote::TRemoteProfile& profile, const TCallData& call);
  void RunDdeAction(const remote::TRemoteProfile& profile, const TCallData& call);
  void RunScriptAction(const remote::TRemoteProfile& profile, const TCallData& call);

  QString ScriptFilePath() const;

  // Where each outcome goes; none by default.
  void SetOutcomeHook(TOutcomeHook hook) { outcomeHook_ = std::move(hook); }
  // Defaults: the system clock and DelayWithMessages. Tests observe the
  // waits through their own delay, which must still wait.
  void SetClock(TClock clock) { clock_ = std::move(clock); }
  void SetDelay(std::function<void(int)> delay) { delay_ = std::move(delay); }

 private:
  TForwardingOutcome Begin(const TCallData& call);
  void Report(TForwardingOutcome outcome, TForwardingOutcome::Kind what, std::string detail,
              int status = 0) const;
  TPlaceholderSources Sources(const TCallData& call) const;
  bool WaitForScriptFile(const std::string& path);
  void StartScript(const std::string& fullPath, const TPlaceholderValues& values,
                   const TForwardingOutcome& outcome);

  platform::TDdeClientConv& ddeClient_;
  QString dataDirectory_;
  TClock clock_;
  std::function<void(int)> delay_;
  std::locale timeLocale_;
  TOutcomeHook outcomeHook_;
  std::unique_ptr<QObject> runningScripts_;  // parent of the scripts still watched
};
