#pragma once

#include <QString>
#include <optional>

// What a line's name says about where its calls come from: a device path
// names a serial caller-ID modem; a URL names a server on the network,
// "ncid://HOST[:PORT]" an NCID server and "fritzbox://HOST[:PORT]" a
// FRITZ!Box call monitor. HOST is a host name, an IPv4 address or an IPv6
// address in brackets.
struct TLineAddress {
  enum class Kind { kSerial, kNcid, kFritzBox };

  Kind kind = Kind::kSerial;
  QString host;  // network lines: without the brackets of an IPv6 address
  quint16 port = 0;

  bool IsNetwork() const { return kind != Kind::kSerial; }
  // The line's name as the program writes it: "ncid://[::1]:3333";
  // a serial line has no such name.
  QString Url() const;

  bool operator==(const TLineAddress&) const = default;
};

namespace LineAddress {

constexpr const char* kNcidScheme = "ncid";
constexpr const char* kFritzBoxScheme = "fritzbox";
constexpr quint16 kNcidDefaultPort = 3333;
constexpr quint16 kFritzBoxDefaultPort = 1012;

// True when `name` is written as a URL ("scheme://..."), well formed or not.
bool IsNetworkName(const QString& name);

// The address `name` stands for. A device path is a serial line. A URL
// that is not one of the two kinds, or whose host or port is not valid,
// gives nothing and, when asked, a message for the user in `problem`.
std::optional<TLineAddress> Parse(const QString& name, QString* problem = nullptr);

// Whether `host` (an IPv6 address without brackets) can be connected to;
// the reason for the user when not.
bool IsValidHost(const QString& host, QString* problem = nullptr);
// Whether `port` is a TCP port (1 to 65535); the reason for the user when not.
bool IsValidPort(int port, QString* problem = nullptr);

}  // namespace LineAddress
