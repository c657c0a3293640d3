#include "telephony/line_address.h"

#include <gtest/gtest.h>

#include <cctype>
#include <ostream>

namespace {

// Each row's own name: its line name in letters and digits.
std::string RowName(const char* name, std::size_t index) {
  std::string row;
  for (const char* c = name; *c; ++c) row += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
  return row + "_" + std::to_string(index);
}

struct TNameCase {
  const char* name;
  // The address's URL as the program writes it, "serial", or "!" and the
  // start of the problem reported.
  const char* expected;
};

void PrintTo(const TNameCase& c, std::ostream* out) { *out << c.name; }

class LineNames : public ::testing::TestWithParam<TNameCase> {};

TEST_P(LineNames, SayWhereTheCallsComeFrom) {
  QString problem;
  const std::optional<TLineAddress> address = LineAddress::Parse(GetParam().name, &problem);
  const QString expected = QString::fromUtf8(GetParam().expected);
  if (expected.startsWith('!')) {
    EXPECT_FALSE(address.has_value());
    EXPECT_TRUE(problem.startsWith(expected.mid(1))) << problem.toStdString();
  } else {
    ASSERT_TRUE(address.has_value()) << problem.toStdString();
    EXPECT_EQ(address->IsNetwork() ? address->Url() : "serial", expected);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Names, LineNames,
    ::testing::Values(
        TNameCase{"/dev/ttyS0", "serial"}, TNameCase{"/dev/serial/by-id/usb-Modem:if00", "serial"},
        TNameCase{"ncid://192.0.2.10", "ncid://192.0.2.10:3333"},
        TNameCase{"ncid://192.0.2.10:3334", "ncid://192.0.2.10:3334"},
        TNameCase{"NCID://Server.Home.Arpa/", "ncid://Server.Home.Arpa:3333"},
        TNameCase{"fritzbox://fritz.box", "fritzbox://fritz.box:1012"},
        TNameCase{"fritzbox://[fd00::1]:1012", "fritzbox://[fd00::1]:1012"},
        TNameCase{"ncid://[::1]", "ncid://[::1]:3333"},
        TNameCase{"ncid://my_box-2.lan:65535", "ncid://my_box-2.lan:65535"}, TNameCase{"", "!No line given"},
        TNameCase{"sip://host", "!Unknown kind of line"}, TNameCase{"ncid://", "!No host name"},
        TNameCase{"ncid://:3333", "!No host name"}, TNameCase{"ncid://host:", "!Not a valid port"},
        TNameCase{"ncid://host:0", "!Not a valid port"}, TNameCase{"ncid://host:65536", "!Not a valid port"},
        TNameCase{"ncid://host:33a", "!Not a valid port"}, TNameCase{"ncid://host/path", "!Not a valid host"},
        TNameCase{"ncid://user@host", "!Not a valid host"}, TNameCase{"ncid://-host", "!Not a valid host"},
        TNameCase{"ncid://ho st", "!Not a valid host"}, TNameCase{"ncid://300.1.2.3", "!Not a valid host"},
        TNameCase{"ncid://::1", "!An IPv6 address goes in brackets"}, TNameCase{"ncid://[::1", "!Not a valid IPv6"},
        TNameCase{"ncid://[host]", "!Not a valid IPv6"}, TNameCase{"ncid://[::1]x", "!Not a valid IPv6"},
        TNameCase{"ncid://[:::]", "!Not a valid IPv6"}),
    [](const ::testing::TestParamInfo<TNameCase>& info) { return RowName(info.param.name, info.index); });

}  // namespace
