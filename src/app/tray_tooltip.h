#pragma once

#include <QString>

// The tray icon's tooltip: the program's name, and what is being watched
// and how it goes, "Quorvel - ncid://192.0.2.10:3333: connected" (just the
// name while no line is selected), then the note on a line of its own when
// there is one ("3 missed calls").
QString TrayToolTipText(const QString& line, const QString& state, const QString& note = QString());
