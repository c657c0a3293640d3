#pragma once

// Whether the desktop can show a tray icon. Qt decides this once per process
// for the StatusNotifierItem host, and a program started at login may run
// before the panel is up, so the program waits for a host before it makes
// its first tray icon.
namespace platform {

inline constexpr int kTrayHostWaitMs = 3000;

// Waits until a tray host is present (a StatusNotifierItem host announced by
// org.kde.StatusNotifierWatcher on the session bus, or an X11 system tray) or
// `maxMs` milliseconds have passed, keeping the event loop running, and
// returns whether a tray icon can now be shown.
bool WaitForSystemTray(int maxMs = kTrayHostWaitMs);

// True when a StatusNotifierItem host is announced on the session bus.
bool StatusNotifierHostPresent();

// True when the X11 screen has a system tray (an owner of _NET_SYSTEM_TRAY_Sn);
// false on other window systems.
bool X11SystemTrayPresent();

}  // namespace platform
