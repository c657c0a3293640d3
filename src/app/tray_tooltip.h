#pragma once

#include <QString>

// The tray icon's tooltip: the program's name, and what is being watched
// and how it goes, "Quorvel - ncid://192.0.2.10:3333: connected". Just the
// name while no line is selected.
QString TrayToolTipText(const QString& line, const QString& state);
