#include "telephony/modem_commands.h"

#include <gtest/gtest.h>

using ModemCommands::FinalReply;
using ModemCommands::TReply;

TEST(ModemReplies, FindsTheResultCodeBehindTheEcho) {
  EXPECT_EQ(FinalReply("ATZ\r\r\nOK\r\n"), TReply::kOk);
  EXPECT_EQ(FinalReply("AT+VCID=1\r\r\nERROR\r\n"), TReply::kError);
  EXPECT_EQ(FinalReply("\r\nOK"), TReply::kOk);  // no line end yet
}

TEST(ModemReplies, NothingFinalYet) {
  EXPECT_EQ(FinalReply(""), TReply::kNone);
  EXPECT_EQ(FinalReply("ATZ\r"), TReply::kNone);
  EXPECT_EQ(FinalReply("\r\nRING\r\n"), TReply::kNone);
  // Words that merely contain a result code are not one.
  EXPECT_EQ(FinalReply("NAME = OK\r\nBROKEN\r\nERRORS\r\n"), TReply::kNone);
}
