#pragma once

// What every line parser's fuzz target does: feeds arbitrary bytes, in
// arbitrary pieces, to the parser and its notices to the call tracking, as
// a hostile or broken device or server could send them, and checks the
// tracker's promises on the way: an IDLE only inside a call, never two
// OFFERINGs in one call, caller text within its limit.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include <QByteArray>

#include "telephony/call_tracker.h"
#include "telephony/untrusted_text.h"

// `feed(bytes)` returns the parser's notices for the bytes. The first byte
// of each piece says how long the piece is; a zero byte lets the ring
// timeout pass.
template <typename Feed>
void FuzzCallTracking(const std::uint8_t* data, std::size_t size, Feed feed) {
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
  std::size_t at = 0;
  while (at < size) {
    const std::size_t length = data[at++];
    if (length == 0) {
      check(tracker.RingTimeoutExpired());
      continue;
    }
    const std::size_t take = length < size - at ? length : size - at;
    const std::vector<TLineNotice> notices =
        feed(QByteArray(reinterpret_cast<const char*>(data + at), static_cast<qsizetype>(take)));
    for (const TLineNotice& notice : notices) check(tracker.Handle(notice));
    at += take;
  }
}
