// The serial modem's parser and the call tracking, fed arbitrary bytes.
#include "call_fuzzing.h"
#include "telephony/caller_id_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TModemParser parser;
  FuzzCallTracking(data, size, [&](const QByteArray& bytes) { return parser.Feed(bytes); });
  return 0;
}
