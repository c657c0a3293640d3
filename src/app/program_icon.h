#pragma once

#include <QIcon>

// The program's icon, for the main window and the tray.
QIcon ProgramIcon();
