#include "app/tray_tooltip.h"

#include <gtest/gtest.h>

TEST(TrayToolTip, TellsTheLineItsStateAndTheNoteBelow) {
  EXPECT_EQ(TrayToolTipText("", "closed"), "Quorvel");
  EXPECT_EQ(TrayToolTipText("", "closed", "2 missed calls"), "Quorvel\n2 missed calls");
  EXPECT_EQ(TrayToolTipText("/dev/ttyS0", "open"), "Quorvel - /dev/ttyS0: open");
  EXPECT_EQ(TrayToolTipText("ncid://[::1]:3333", "Connection refused, retrying", "1 missed call"),
            "Quorvel - ncid://[::1]:3333: Connection refused, retrying\n1 missed call");
}
