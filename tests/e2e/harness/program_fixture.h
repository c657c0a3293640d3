#pragma once

#include <QString>
#include <csignal>
#include <gtest/gtest.h>

#include "desktop_session.h"
#include "fake_modem.h"
#include "installed_program.h"

// The program on a private desktop. A first copy still running when the
// test ends is ended as a session ends it, and must exit cleanly.
class ProgramE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(desktop_.Ready()) << "Xvfb or dbus-daemon did not start";
    ASSERT_TRUE(program_.Ready()) << "the program could not be copied";
  }
  void TearDown() override {
    if (!program_.Running()) return;
    program_.Signal(SIGTERM);
    EXPECT_EQ(program_.WaitForExit(), 0);
  }

  DesktopSession desktop_;
  InstalledProgram program_;
};

// The program with a fake modem as its only line.
class ModemLineE2E : public ProgramE2E {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(ProgramE2E::SetUp());
    ASSERT_TRUE(modem_.Started());
    program_.UseLine(modem_.LinkPath());
  }
  // Places `call` once the program watches the line.
  void CallWhenWatched(const QString& call) {
    ASSERT_FALSE(modem_.WaitForOutput("got AT+VCID=1").isEmpty()) << "the line is not watched";
    modem_.Command(call);
  }

  FakeModem modem_{program_.Path("modem")};
};
