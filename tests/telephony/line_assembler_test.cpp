#include "telephony/line_assembler.h"

#include <gtest/gtest.h>

TEST(LineAssembler, SplitsOnEitherLineEndAndSkipsEmptyLines) {
  TLineAssembler assembler;
  EXPECT_EQ(assembler.Feed("\r\nRING\r\n\r\nNMBR = 1\nNAME=X\r"),
            (QList<QByteArray>{"RING", "NMBR = 1", "NAME=X"}));
  EXPECT_EQ(assembler.PendingBytes(), 0);
}

TEST(LineAssembler, JoinsALineArrivingInPieces) {
  TLineAssembler assembler;
  EXPECT_TRUE(assembler.Feed("NM").isEmpty());
  EXPECT_TRUE(assembler.Feed("BR = 55").isEmpty());
  EXPECT_EQ(assembler.Feed("5\r\nRI"), QList<QByteArray>{"NMBR = 555"});
  EXPECT_EQ(assembler.Feed("NG\r"), QList<QByteArray>{"RING"});
}

TEST(LineAssembler, KeepsBinaryBytesOtherThanLineEnds) {
  TLineAssembler assembler;
  const QByteArray binary("A\0\x01\xff" "B", 5);
  EXPECT_EQ(assembler.Feed(binary + "\n"), QList<QByteArray>{binary});
}

TEST(LineAssembler, LineOfExactlyTheLimitIsKept) {
  TLineAssembler assembler;
  const QByteArray line(TLineAssembler::kMaxLineBytes, 'x');
  EXPECT_EQ(assembler.Feed(line + "\n"), QList<QByteArray>{line});
}

TEST(LineAssembler, OverlongLineIsDroppedUpToItsEndAndMemoryStaysBounded) {
  TLineAssembler assembler;
  for (int i = 0; i < 1000; ++i) {
    EXPECT_TRUE(assembler.Feed(QByteArray(1000, 'g')).isEmpty());
    ASSERT_LE(assembler.PendingBytes(), TLineAssembler::kMaxLineBytes);
  }
  // The tail of the long line is not mistaken for a line of its own.
  EXPECT_EQ(assembler.Feed("NMBR = 1\r\nRING\r\n"), QList<QByteArray>{"RING"});
}

TEST(LineAssembler, ResetForgetsThePartialLine) {
  TLineAssembler assembler;
  assembler.Feed("NMBR = 12");
  assembler.Reset();
  EXPECT_EQ(assembler.Feed("RING\n"), QList<QByteArray>{"RING"});
  // Reset also ends the dropping of an overlong line.
  assembler.Feed(QByteArray(TLineAssembler::kMaxLineBytes + 10, 'g'));
  assembler.Reset();
  EXPECT_EQ(assembler.Feed("RING\n"), QList<QByteArray>{"RING"});
}
