#pragma once

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "message_box_answerer.h"
#include "platform/dde_client_conv.h"
#include "platform/delay_with_messages.h"
#include "remote/remote_action.h"
#include "remote_test_support.h"

// An action over a profile held in values, a real conversation and a
// temporary program folder. The waits are real; the fixture records them.
class ActionFixture : public testing::Test {
 protected:
  ActionFixture()
      : action_(profile_, conversation_,
                TCallData{[this] { return number_; }, [this] { return name_; },
                          [this] { return lineName_; }},
                folder_.path() + "/") {
    action_.SetDelay([this](int ms) {
      waits_.push_back(ms);
      if (onWait_) onWait_(ms);
      DelayWithMessages(ms);
    });
  }

  QString InFolder(const QString& name) const { return folder_.filePath(name); }

  QTemporaryDir folder_;
  TProfileValues profile_;
  platform::TDdeClientConv conversation_;
  std::string number_ = "555-123-4567";
  std::string name_ = "Jane Doe";
  std::string lineName_ = "ttyS0 modem";
  std::vector<int> waits_;
  std::function<void(int)> onWait_;
  TRemoteAction action_;
  MessageBoxAnswerer boxes_;
};
