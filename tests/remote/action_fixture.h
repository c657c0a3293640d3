#pragma once

#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "message_box_answerer.h"
#include "platform/dde_client_conv.h"
#include "platform/delay_with_messages.h"
#include "remote/remote_action.h"
#include "remote_test_support.h"

// An action with a real conversation and a temporary program folder, run
// for one call with the profile the test sets up. The waits are real; the
// fixture records them and every outcome.
class ActionFixture : public testing::Test {
 protected:
  ActionFixture() : action_(conversation_, folder_.path() + "/") { Record(action_); }

  // Has `action` record its waits and outcomes here.
  void Record(TRemoteAction& action) {
    action.SetDelay([this](int ms) {
      waits_.push_back(ms);
      if (onWait_) onWait_(ms);
      DelayWithMessages(ms);
    });
    action.SetOutcomeHook([this](const TForwardingOutcome& o) { outcomes_.push_back(o); });
  }

  QString InFolder(const QString& name) const { return folder_.filePath(name); }
  // The Command(s) memo holding these lines.
  void SetCommands(const QStringList& lines) {
    profile_.Commands.clear();
    for (const QString& line : lines) profile_.Commands += line + "\r\n";
  }
  TCallData Call() const { return {number_, name_, lineName_}; }
  void Run() { action_.RunRemoteAction(profile_, Call()); }
  void RunDde() { action_.RunDdeAction(profile_, Call()); }
  void RunScript() { action_.RunScriptAction(profile_, Call()); }
  // Waits for the next outcome beyond the `count` already seen.
  const TForwardingOutcome& WaitForOutcome(std::size_t count) {
    EXPECT_TRUE(WaitUntil([&] { return outcomes_.size() > count; }));
    if (outcomes_.size() <= count) outcomes_.resize(count + 1);
    return outcomes_[count];
  }

  QTemporaryDir folder_;
  remote::TRemoteProfile profile_;
  platform::TDdeClientConv conversation_;
  std::string number_ = "555-123-4567";
  std::string name_ = "Jane Doe";
  std::string lineName_ = "ttyS0 modem";
  std::vector<int> waits_;
  std::vector<TForwardingOutcome> outcomes_;
  std::function<void(int)> onWait_;
  TRemoteAction action_;
  MessageBoxAnswerer boxes_;
};
