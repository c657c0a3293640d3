#pragma once

#include <QString>

// What "Add Network Line" asks for: the kind of server and where it is.
// Plain values; the dialog edits them and the line menu reads the name.
struct TNetworkLineChoice {
  enum class Kind { kNcid, kFritzBox };

  Kind kind = Kind::kNcid;
  QString host;  // a host name, an IPv4 address, or an IPv6 address with or without brackets
  int port = DefaultPort(Kind::kNcid);

  // The port each kind of server listens on unless set up otherwise.
  static int DefaultPort(Kind kind);

  // The line's name ("ncid://192.0.2.10:3333"), or "" when the host or the
  // port is not valid; the reason, for the user, goes to `problem`.
  QString LineName(QString* problem = nullptr) const;
};
