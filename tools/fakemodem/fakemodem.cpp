// fakemodem: a caller-ID modem on a pseudo-terminal.
//
//   fakemodem --link PATH [--cadence SECONDS] [--refuse-vcid] [--refuse-cid]
//             [--silent] [--quiet] [--numeric] [--no-echo]
//             [--slow-reset SECONDS] [--number-tag TAG] [--trace]
//
// Opens a pseudo-terminal, points the symbolic link PATH at it and answers AT
// commands like a caller-ID modem. Like a real modem it does not hold its
// device open: only the program under test does. "ready <device>" on
// standard output says the link exists (again after each replug).
//
// The modem keeps the state a real one has: echo (E), verbose or numeric
// result codes (V), quiet mode (Q) and caller ID on or off (+VCID / #CID).
// It starts with echo on, verbose results and caller ID off; --quiet,
// --numeric and --no-echo start it as another program may have left it.
// ATZ brings back echo on and verbose results and switches caller ID off;
// with --slow-reset it answers only after SECONDS. --silent answers nothing
// at all. Caller-ID lines are sent only while caller ID is on; the number
// line's tag is NMBR unless --number-tag says otherwise (DDN_NMBR, ...).
//
// Commands on standard input, one a line:
//   call NUMBER [NAME...]  three rings in the cadence, caller ID after the first
//   call-private           the same with a withheld number ("P")
//   call-outofarea         the same with an unavailable number ("O")
//   ring                   one RING
//   raw TEXT               TEXT and a line end, as it is
//   send TEXT              TEXT without a line end; \r \n \\ and \xHH escapes
//   garbage N              N random bytes without any line end
//   after-enable TEXT      TEXT and a line end, written together with the
//                          next OK to a caller-ID command (as a call that
//                          comes in just as the modem is switched on);
//                          says "armed" once taken
//   forget-cid             caller ID off, as after a power loss
//   silent on|off          stop or start answering commands
//   unplug                 close the pseudo-terminal and remove the link
//   replug                 a new pseudo-terminal behind the same link
//   quit                   remove the link and end (also at end of input)
// Each command received from the line is reported as "got <command>"; with
// --trace each line sent is reported as "sent <monotonic ns> <line>".
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <deque>
#include <random>
#include <string>
#include <vector>

#include "common/simulator.h"

namespace {

using simulator::MonotonicNanoseconds;
using simulator::Say;
using simulator::Unescape;

constexpr int kRingsPerCall = 3;
constexpr double kDefaultCadenceSeconds = 6.0;
// The caller-ID block follows the first ring after this share of the cadence.
constexpr double kCallerIdDelayShare = 0.25;
constexpr const char* kLineEnd = "\r\n";
constexpr int kHungUpRecheckMs = 20;

struct TOptions {
  std::string link;
  double cadenceSeconds = kDefaultCadenceSeconds;
  bool refuseVcid = false;
  bool refuseCid = false;
  bool silent = false;
  bool quiet = false;
  bool numeric = false;
  bool noEcho = false;
  double slowResetSeconds = 0;
  std::string numberTag = "NMBR";
  bool trace = false;
};

// What the modem's settings are now.
struct TModemState {
  bool echo = true;
  bool verbose = true;
  bool quiet = false;
  bool callerId = false;
};

using TClock = std::chrono::steady_clock;

struct TScheduledLine {
  TClock::time_point due;
  std::string text;  // sent with a line end before and after, as modems do
  bool callerId = false;  // sent only while caller ID is on
  bool reply = false;     // a result code: text is sent as it is
};

[[noreturn]] void Fail(const std::string& what) { simulator::Fail("fakemodem", what); }

class TFakeModem {
 public:
  explicit TFakeModem(TOptions options) : options_(std::move(options)) {
    state_.quiet = options_.quiet;
    state_.verbose = !options_.numeric;
    state_.echo = !options_.noEcho;
  }

  void Plug() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) Fail("pseudo-terminal");
    const char* name = ptsname(master_);
    if (!name) Fail("ptsname");
    device_ = name;
    // Raw mode keeps the line discipline from echoing or translating
    // anything; the settings stay with the terminal while the master is open.
    const int slave = open(device_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave < 0) Fail(device_);
    termios tio{};
    tcgetattr(slave, &tio);
    cfmakeraw(&tio);
    tcsetattr(slave, TCSANOW, &tio);
    close(slave);
    hungUp_ = false;
    unlink(options_.link.c_str());
    if (symlink(device_.c_str(), options_.link.c_str()) != 0) Fail(options_.link);
    input_.clear();
    Say("ready " + device_);
  }

  void Unplug() {
    if (master_ < 0) return;
    unlink(options_.link.c_str());
    close(master_);
    master_ = -1;
    schedule_.clear();
    Say("unplugged");
  }

  // Returns false once the program should end.
  bool HandleCommand(const std::string& line) {
    const auto [word, rest] = simulator::SplitCommand(line);
    if (word == "call") {
      const std::string::size_type nameStart = rest.find(' ');
      StartCall(rest.substr(0, nameStart), nameStart == std::string::npos ? "" : rest.substr(nameStart + 1));
    } else if (word == "forget-cid") {
      state_.callerId = false;
    } else if (word == "silent") {
      options_.silent = rest == "on";
    } else if (word == "call-private") {
      StartCall("P", "P");
    } else if (word == "call-outofarea") {
      StartCall("O", "O");
    } else if (word == "ring") {
      Schedule(TClock::now(), "RING");
    } else if (word == "raw") {
      SendBytes(rest + kLineEnd, rest);
    } else if (word == "send") {
      SendBytes(Unescape(rest), rest);
    } else if (word == "after-enable") {
      afterEnable_ = rest;
      Say("armed");
    } else if (word == "garbage") {
      SendGarbage(std::strtoul(rest.c_str(), nullptr, 10));
    } else if (word == "unplug") {
      Unplug();
    } else if (word == "replug") {
      if (master_ < 0) Plug();
    } else if (word == "quit") {
      return false;
    } else if (!word.empty()) {
      Say("unknown command: " + word);
    }
    return true;
  }

  void HandleModemInput() {
    char buffer[512];
    for (;;) {
      const ssize_t n = read(master_, buffer, sizeof buffer);
      // EIO: nobody has the device open (any more).
      if (n < 0 && errno == EIO) hungUp_ = true;
      if (n <= 0) return;
      for (ssize_t i = 0; i < n; ++i) {
        const char c = buffer[i];
        if (c == '\r' || c == '\n') {
          if (!input_.empty()) AnswerCommand(input_);
          input_.clear();
        } else if (input_.size() < 256) {
          input_ += c;
        }
      }
    }
  }

  // Sends every scheduled line that is due; returns ms until the next one or -1.
  int RunSchedule() {
    const TClock::time_point now = TClock::now();
    while (!schedule_.empty() && schedule_.front().due <= now) {
      const TScheduledLine line = schedule_.front();
      schedule_.pop_front();
      if (line.reply) {
        SendBytes(line.text, std::string());
      } else if (line.text == "RING") {
        SendResult("RING", "2", "RING");
      } else if (!line.callerId || state_.callerId) {
        SendBytes(kLineEnd + line.text + kLineEnd, line.text);
      }
    }
    if (schedule_.empty()) return -1;
    const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(schedule_.front().due - now);
    return static_cast<int>(wait.count()) + 1;
  }

  int Master() const { return master_; }
  // True while nobody has the device open: the master then reports a
  // hang-up on every poll, so it is looked at only now and then.
  bool HungUp() const { return hungUp_; }
  void ClearHungUp() { hungUp_ = false; }
  void Shutdown() {
    Unplug();
  }

 private:
  void StartCall(const std::string& number, const std::string& name) {
    const TClock::time_point start = TClock::now();
    const auto cadence = std::chrono::duration_cast<TClock::duration>(
        std::chrono::duration<double>(options_.cadenceSeconds));
    const auto callerIdDelay = std::chrono::duration_cast<TClock::duration>(cadence * kCallerIdDelayShare);
    Schedule(start, "RING");
    const TClock::time_point block = start + callerIdDelay;
    std::time_t wall = std::time(nullptr);
    std::tm local{};
    localtime_r(&wall, &local);
    char date[8], time[8];
    std::strftime(date, sizeof date, "%m%d", &local);
    std::strftime(time, sizeof time, "%H%M", &local);
    Schedule(block, std::string("DATE = ") + date, true);
    Schedule(block, std::string("TIME = ") + time, true);
    Schedule(block, options_.numberTag + " = " + number, true);
    if (!name.empty()) Schedule(block, "NAME = " + name, true);
    for (int ring = 1; ring < kRingsPerCall; ++ring) Schedule(start + cadence * ring, "RING");
  }

  void Schedule(TClock::time_point due, const std::string& text, bool callerId = false, bool reply = false) {
    auto at = schedule_.end();
    while (at != schedule_.begin() && (at - 1)->due > due) --at;
    schedule_.insert(at, {due, text, callerId, reply});
  }

  // A result code as the modem's settings say: "\r\nOK\r\n", "0\r" or nothing.
  std::string ResultText(const std::string& verbose, const std::string& numeric) const {
    if (state_.quiet) return std::string();
    return state_.verbose ? kLineEnd + verbose + kLineEnd : numeric + "\r";
  }

  void SendResult(const std::string& verbose, const std::string& numeric, const std::string& traceText) {
    SendBytes(ResultText(verbose, numeric), traceText);
  }

  // Applies the basic commands of one command line (after "AT"); false for
  // one it does not know.
  bool ApplySettings(const std::string& commands) {
    for (std::size_t i = 0; i < commands.size();) {
      const char letter = commands[i++];
      std::string digits;
      while (i < commands.size() && std::isdigit(static_cast<unsigned char>(commands[i]))) digits += commands[i++];
      const bool on = digits != "0";
      switch (letter) {
        case 'E': state_.echo = on; break;
        case 'V': state_.verbose = on; break;
        case 'Q': state_.quiet = on; break;
        case 'Z': state_ = TModemState(); break;
        default: return false;
      }
    }
    return true;
  }

  void AnswerCommand(const std::string& raw) {
    std::string command;
    for (const char c : raw) command += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    Say("got " + command);
    if (options_.silent || command.rfind("AT", 0) != 0) return;
    // Echo in the setting the command line found.
    if (state_.echo) SendBytes(raw + "\r", std::string());
    const std::string rest = command.substr(2);
    const bool enabling = rest == "+VCID=1" || rest == "#CID=1";
    bool ok = true;
    if (enabling) {
      ok = !((rest == "+VCID=1" && options_.refuseVcid) || (rest == "#CID=1" && options_.refuseCid));
      if (ok) state_.callerId = true;
    } else if (!rest.empty() && rest[0] != '+' && rest[0] != '#') {
      ok = ApplySettings(rest);
    }
    std::string reply = ok ? ResultText("OK", "0") : ResultText("ERROR", "4");
    if (enabling && ok && !afterEnable_.empty()) {
      // One write, so the reader finds both in the same read.
      reply += kLineEnd + afterEnable_ + kLineEnd;
      afterEnable_.clear();
    }
    if (rest == "Z" && options_.slowResetSeconds > 0) {
      const auto delay = std::chrono::duration_cast<TClock::duration>(
          std::chrono::duration<double>(options_.slowResetSeconds));
      Schedule(TClock::now() + delay, reply, false, true);
      return;
    }
    SendBytes(reply, std::string());
  }

  void SendBytes(const std::string& bytes, const std::string& traceText) {
    if (master_ < 0) return;
    if (options_.trace && !traceText.empty()) {
      Say("sent " + std::to_string(MonotonicNanoseconds()) + " " + traceText);
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = write(master_, bytes.data() + done, bytes.size() - done);
      if (n > 0) {
        done += static_cast<std::size_t>(n);
      } else if (n < 0 && errno == EAGAIN) {
        // Nobody reads the line: wait a little for room, then drop the rest.
        pollfd p{master_, POLLOUT, 0};
        if (poll(&p, 1, 1000) <= 0) return;
      } else if (n < 0 && errno == EINTR) {
        continue;
      } else {
        return;
      }
    }
  }

  void SendGarbage(unsigned long count) {
    SendBytes(simulator::Garbage(random_, count), "<garbage " + std::to_string(count) + ">");
  }

  TOptions options_;
  TModemState state_;
  int master_ = -1;
  bool hungUp_ = false;
  std::string device_;
  std::string input_;
  std::string afterEnable_;
  std::deque<TScheduledLine> schedule_;
  std::minstd_rand random_{12345};
};

TOptions ParseOptions(int argc, char** argv) {
  TOptions options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--link" && i + 1 < argc) options.link = argv[++i];
    else if (arg == "--cadence" && i + 1 < argc) options.cadenceSeconds = std::atof(argv[++i]);
    else if (arg == "--refuse-vcid") options.refuseVcid = true;
    else if (arg == "--refuse-cid") options.refuseCid = true;
    else if (arg == "--silent") options.silent = true;
    else if (arg == "--quiet") options.quiet = true;
    else if (arg == "--numeric") options.numeric = true;
    else if (arg == "--no-echo") options.noEcho = true;
    else if (arg == "--slow-reset" && i + 1 < argc) options.slowResetSeconds = std::atof(argv[++i]);
    else if (arg == "--number-tag" && i + 1 < argc) options.numberTag = argv[++i];
    else if (arg == "--trace") options.trace = true;
    else {
      std::fprintf(stderr,
                   "usage: fakemodem --link PATH [--cadence SECONDS] [--refuse-vcid] [--refuse-cid] "
                   "[--silent] [--quiet] [--numeric] [--no-echo] [--slow-reset SECONDS] "
                   "[--number-tag TAG] [--trace]\n");
      std::exit(2);
    }
  }
  if (options.link.empty() || !(options.cadenceSeconds >= 0)) {
    std::fprintf(stderr, "fakemodem: --link PATH is required and the cadence must not be negative\n");
    std::exit(2);
  }
  return options;
}

}  // namespace

int main(int argc, char** argv) {
  TFakeModem modem(ParseOptions(argc, argv));

  const int signalFd = simulator::TerminationSignals();

  modem.Plug();
  simulator::TCommandReader commands;
  bool running = true;
  while (running) {
    int wait = modem.RunSchedule();
    const bool watchMaster = modem.Master() >= 0 && !modem.HungUp();
    // While nobody has the device open, look again every few milliseconds.
    if (modem.HungUp() && (wait < 0 || wait > kHungUpRecheckMs)) wait = kHungUpRecheckMs;
    modem.ClearHungUp();
    pollfd fds[3] = {{STDIN_FILENO, POLLIN, 0}, {signalFd, POLLIN, 0}, {modem.Master(), POLLIN, 0}};
    const nfds_t count = watchMaster ? 3 : 2;
    if (poll(fds, count, wait) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (fds[1].revents & POLLIN) break;
    if (count == 3 && (fds[2].revents & (POLLIN | POLLHUP))) modem.HandleModemInput();
    if (fds[0].revents & (POLLIN | POLLHUP)) {
      running = commands.ReadAvailable([&](const std::string& line) { return modem.HandleCommand(line); });
    }
  }
  modem.Shutdown();
  return 0;
}
