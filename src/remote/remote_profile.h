#pragma once

#include <QString>

namespace remote {

// A forwarding profile: the target application's name and its eight values,
// as the Remote Setup dialog edits them and a forwarding reads them.
struct TRemoteProfile {
  // The profile's name: the target's bus name for a DDE link. In the store's
  // own spelling when it names a stored profile.
  QString Application;
  bool DdeLink = false;    // "DDE Link" chosen (Type is exactly "DDE")
  bool VbsScript = false;  // "VBS Script" chosen (Type is exactly "VBS"); neither for any other Type
  QString Topic;
  QString ExePath;
  QString DBPath;
  QString PokeData;
  QString PokeLocation;    // "to location"
  QString Commands;        // the Command(s) lines, separated by CR LF
  bool StartExe = false;   // "Start if not yet running" (StartExe is exactly "YES")

  bool operator==(const TRemoteProfile&) const = default;
};

}  // namespace remote
