// Feeds arbitrary bytes, in arbitrary pieces, to the serial modem's parser
// and the call tracking, as a hostile or broken modem could send them. The
// tracker's promises are checked on the way: an IDLE only inside a call,
// never two OFFERINGs in one call, caller text within its limit.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "telephony/call_tracker.h"
#include "telephony/caller_id_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TModemParser parser;
  TCallTracker tracker;
  bool offered = false;
  const auto check = [&](const TCallTracker::TResult& result) {
    for (const TCallEvent& event : result.events) {
      if (event.kind == TCallEvent::Kind::kCallerId) {
        if (event.number.size() > 2 * kMaxCallerTextChars || event.name.size() > 2 * kMaxCallerTextChars) std::abort();
      } else if (event.state == QLatin1String("OFFERING")) {
        if (offered) std::abort();
        offered = true;
      } else {
        offered = false;
      }
    }
  };
  // The first byte of each piece says how long the piece is; a zero byte
  // lets the ring timeout pass.
  std::size_t at = 0;
  while (at < size) {
    const std::size_t length = data[at++];
    if (length == 0) {
      check(tracker.RingTimeoutExpired());
      continue;
    }
    const std::size_t take = length < size - at ? length : size - at;
    for (const TLineNotice& notice : parser.Feed(QByteArray(reinterpret_cast<const char*>(data + at),
                                                            static_cast<qsizetype>(take)))) {
      check(tracker.Handle(notice));
    }
    at += take;
  }
  return 0;
}
