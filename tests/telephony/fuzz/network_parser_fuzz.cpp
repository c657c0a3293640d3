// A network line's parser (NCID or FRITZ!Box, chosen when built) and the
// call tracking, fed arbitrary bytes as a hostile server could send them.
// The parser's replies are checked too: only its introduction, once a
// connection at most, and a keep-alive that stays a bare line feed.
#include "call_fuzzing.h"

#ifdef QUORVEL_FUZZ_NCID
#include "telephony/ncid_parser.h"
#else
#include "telephony/fritzbox_parser.h"
#endif

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
#ifdef QUORVEL_FUZZ_NCID
  TNcidParser parser("fuzz");
#else
  TFritzBoxParser parser;
#endif
  int replies = 0;
  FuzzCallTracking(data, size, [&](const QByteArray& bytes) {
    TNetworkProtocol::TOutput output = parser.Feed(bytes);
    if (!output.reply.isEmpty() && (++replies > 1 || !output.reply.startsWith("HELLO: "))) std::abort();
    return output.notices;
  });
  if (parser.KeepAlive().size() > 1) std::abort();
  return 0;
}
