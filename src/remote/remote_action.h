#pragma once

#include <QString>
#include <functional>
#include <string>

#include "remote/placeholders.h"

class TRemoteProfileFields;
namespace platform {
class TDdeClientConv;
}

// Waits of a forwarding action, in milliseconds.
inline constexpr int kStartedProgramWaitMs = 1500;  // after starting the EXE Path program
inline constexpr int kTransactionWaitMs = 300;      // after the poke and each command
inline constexpr int kScriptFileCheckWaitMs = 100;  // between looks for the script file
// Looks for the written script file before giving up (5 s in all).
inline constexpr int kMaxScriptFileChecks = 50;

inline constexpr char kStartErrorCaption[] = "Error";
inline constexpr char kCanNotStart[] = "Can not start ";

// Names under which the script sees the call's data in its environment:
// values there need no quoting, unlike placeholders pasted into its text.
inline constexpr char kEnvNumber[] = "QUORVEL_CID";
inline constexpr char kEnvName[] = "QUORVEL_CIN";
inline constexpr char kEnvDate[] = "QUORVEL_DATE";
inline constexpr char kEnvTime[] = "QUORVEL_TIME";
inline constexpr char kEnvLineName[] = "QUORVEL_PORT";

// The current call as the call handling holds it. Each getter is read at the
// moment a value is needed, so a later event of the call (or the line going
// idle) during an action's waits shows in what is expanded afterwards.
struct TCallData {
  std::function<std::string()> CallerID = [] { return std::string(); };
  std::function<std::string()> CallerName = [] { return std::string(); };
  std::function<std::string()> LineName = [] { return std::string(); };
};

// Forwards the current call in Passive mode, as the current profile (the
// Remote Setup dialog's fields) says: a conversation with another
// application, or a script for the script host. Every path returns normally;
// failures are shown in a message box.
class TRemoteAction {
 public:
  // `appDirectory` ends with a separator; the script file is written there.
  TRemoteAction(const TRemoteProfileFields& fields, platform::TDdeClientConv& ddeClient,
                TCallData call, QString appDirectory);

  void RunRemoteAction();
  void RunDdeAction();
  void RunScriptAction();

  QString ScriptFilePath() const;

  // Defaults: the system clock and DelayWithMessages. Tests observe the
  // waits through their own delay, which must still wait.
  void SetClock(TClock clock) { clock_ = std::move(clock); }
  void SetDelay(std::function<void(int)> delay) { delay_ = std::move(delay); }

 private:
  std::string Expand(const QString& templateText) const;
  std::string CallerID() const;
  std::string CallerName() const;
  std::string LineName() const;
  bool WaitForScriptFile(const std::string& path);

  const TRemoteProfileFields& fields_;
  platform::TDdeClientConv& ddeClient_;
  TCallData call_;
  QString appDirectory_;
  TClock clock_;
  std::function<void(int)> delay_;
  std::locale timeLocale_;
};
