#pragma once

// What the line simulators (fakemodem, fakeserver) share: their reports on
// standard output, the clock their traces use, and the pieces of their
// common call script.
#include <signal.h>
#include <sys/signalfd.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <utility>

namespace simulator {

// The monotonic clock in nanoseconds: the clock std::chrono::steady_clock
// reads in the program under test, so a trace stamp can be compared there.
inline long long MonotonicNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// One report line on standard output, flushed at once: tests wait for them.
inline void Say(const std::string& text) {
  std::printf("%s\n", text.c_str());
  std::fflush(stdout);
}

[[noreturn]] inline void Fail(const char* program, const std::string& what) {
  std::fprintf(stderr, "%s: %s: %s\n", program, what.c_str(), std::strerror(errno));
  std::exit(1);
}

// A command line split into its first word and the rest.
inline std::pair<std::string, std::string> SplitCommand(const std::string& line) {
  const std::string::size_type blank = line.find(' ');
  if (blank == std::string::npos) return {line, std::string()};
  return {line.substr(0, blank), line.substr(blank + 1)};
}

// "send" text: \r \n \\ and \xHH escapes.
inline std::string Unescape(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    const char kind = text[++i];
    if (kind == 'r') out += '\r';
    else if (kind == 'n') out += '\n';
    else if (kind == 'x' && i + 2 < text.size()) {
      out += static_cast<char>(std::strtol(text.substr(i + 1, 2).c_str(), nullptr, 16));
      i += 2;
    } else out += kind;
  }
  return out;
}

// `count` random bytes, none of them a line end.
inline std::string Garbage(std::minstd_rand& random, unsigned long count) {
  std::string bytes;
  bytes.reserve(count);
  while (bytes.size() < count) {
    const char c = static_cast<char>(random() & 0xff);
    if (c != '\r' && c != '\n') bytes += c;
  }
  return bytes;
}

// Blocks the signals that end a simulator (SIGTERM, SIGINT, SIGHUP) and
// returns a descriptor that becomes readable when one arrives, so the
// simulator's poll loop ends it in order. Writes to a reader that went away
// fail instead of ending the simulator.
inline int TerminationSignals() {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGHUP);
  sigprocmask(SIG_BLOCK, &signals, nullptr);
  signal(SIGPIPE, SIG_IGN);
  return signalfd(-1, &signals, SFD_CLOEXEC);
}

// The commands on standard input, one a line, read as they come.
class TCommandReader {
 public:
  // Reads what standard input has and passes each complete line to
  // `handle`, which returns false to end. Returns false once the simulator
  // should end: at the end of the input or when `handle` said so.
  template <typename Handle>
  bool ReadAvailable(Handle handle) {
    char buffer[4096];
    const ssize_t n = read(STDIN_FILENO, buffer, sizeof buffer);
    if (n <= 0) return false;
    for (ssize_t i = 0; i < n; ++i) {
      if (buffer[i] != '\n') {
        pending_ += buffer[i];
        continue;
      }
      if (!pending_.empty() && pending_.back() == '\r') pending_.pop_back();
      const bool goOn = handle(pending_);
      pending_.clear();
      if (!goOn) return false;
    }
    return true;
  }

 private:
  std::string pending_;
};

}  // namespace simulator
