#pragma once

#include <QStringList>

namespace platform {

// The device paths of the serial ports the system has ("/dev/ttyS0",
// "/dev/ttyUSB0", ...), in name order with numbers counted. Learnt from
// the kernel's device list without opening any port; a classic serial port
// for which the kernel found no UART (most of ttyS1 to ttyS31 on a PC) is
// left out.
QStringList SerialPortPaths();

}  // namespace platform
