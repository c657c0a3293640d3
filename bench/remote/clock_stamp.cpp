// clock_stamp: prints the monotonic and the real-time clock, in nanoseconds,
// on one line: "<monotonic> <realtime>". A forwarding script runs it as its
// first command; forwarding_latency.sh compares it with fakemodem's stamps.
#include <cstdio>
#include <ctime>

namespace {
long long Nanoseconds(clockid_t clock) {
  timespec now{};
  clock_gettime(clock, &now);
  return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}
}  // namespace

int main() {
  const long long monotonic = Nanoseconds(CLOCK_MONOTONIC);
  const long long realtime = Nanoseconds(CLOCK_REALTIME);
  std::printf("%lld %lld\n", monotonic, realtime);
  return 0;
}
