// fakemodem: a caller-ID modem on a pseudo-terminal.
//
//   fakemodem --link PATH [--cadence SECONDS] [--refuse-vcid] [--refuse-cid]
//             [--silent] [--trace]
//
// Opens a pseudo-terminal, points the symbolic link PATH at it and answers AT
// commands like a caller-ID modem. "ready <device>" on standard output says
// the link exists (again after each replug). Commands on standard input, one
// a line:
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
//   unplug                 close the pseudo-terminal and remove the link
//   replug                 a new pseudo-terminal behind the same link
//   quit                   remove the link and end (also at end of input)
// Each command received from the line is reported as "got <command>"; with
// --trace each line sent is reported as "sent <monotonic ns> <line>".
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
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

namespace {

constexpr int kRingsPerCall = 3;
constexpr double kDefaultCadenceSeconds = 6.0;
// The caller-ID block follows the first ring after this share of the cadence.
constexpr double kCallerIdDelayShare = 0.25;
constexpr const char* kLineEnd = "\r\n";

struct TOptions {
  std::string link;
  double cadenceSeconds = kDefaultCadenceSeconds;
  bool refuseVcid = false;
  bool refuseCid = false;
  bool silent = false;
  bool trace = false;
};

using TClock = std::chrono::steady_clock;

struct TScheduledLine {
  TClock::time_point due;
  std::string text;  // sent with a line end before and after, as modems do
};

long long MonotonicNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

void Say(const std::string& text) {
  std::printf("%s\n", text.c_str());
  std::fflush(stdout);
}

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "fakemodem: %s: %s\n", what.c_str(), std::strerror(errno));
  std::exit(1);
}

class TFakeModem {
 public:
  explicit TFakeModem(TOptions options) : options_(std::move(options)) {}

  void Plug() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) Fail("pseudo-terminal");
    const char* name = ptsname(master_);
    if (!name) Fail("ptsname");
    device_ = name;
    // Holding the other end open keeps the terminal alive while the program
    // under test closes and reopens it; raw mode keeps the line discipline
    // from echoing or translating anything.
    slave_ = open(device_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave_ < 0) Fail(device_);
    termios tio{};
    tcgetattr(slave_, &tio);
    cfmakeraw(&tio);
    tcsetattr(slave_, TCSANOW, &tio);
    unlink(options_.link.c_str());
    if (symlink(device_.c_str(), options_.link.c_str()) != 0) Fail(options_.link);
    input_.clear();
    Say("ready " + device_);
  }

  void Unplug() {
    if (master_ < 0) return;
    unlink(options_.link.c_str());
    close(slave_);
    close(master_);
    slave_ = master_ = -1;
    schedule_.clear();
    Say("unplugged");
  }

  // Returns false once the program should end.
  bool HandleCommand(const std::string& line) {
    const std::string::size_type blank = line.find(' ');
    const std::string word = line.substr(0, blank);
    const std::string rest = blank == std::string::npos ? std::string() : line.substr(blank + 1);
    if (word == "call") {
      const std::string::size_type nameStart = rest.find(' ');
      StartCall(rest.substr(0, nameStart), nameStart == std::string::npos ? "" : rest.substr(nameStart + 1));
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
      const std::string text = schedule_.front().text;
      schedule_.pop_front();
      SendBytes(kLineEnd + text + kLineEnd, text);
    }
    if (schedule_.empty()) return -1;
    const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(schedule_.front().due - now);
    return static_cast<int>(wait.count()) + 1;
  }

  int Master() const { return master_; }
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
    Schedule(block, std::string("DATE = ") + date);
    Schedule(block, std::string("TIME = ") + time);
    Schedule(block, "NMBR = " + number);
    if (!name.empty()) Schedule(block, "NAME = " + name);
    for (int ring = 1; ring < kRingsPerCall; ++ring) Schedule(start + cadence * ring, "RING");
  }

  void Schedule(TClock::time_point due, const std::string& text) {
    auto at = schedule_.end();
    while (at != schedule_.begin() && (at - 1)->due > due) --at;
    schedule_.insert(at, {due, text});
  }

  void AnswerCommand(const std::string& raw) {
    std::string command;
    for (const char c : raw) command += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    Say("got " + command);
    if (options_.silent || command.rfind("AT", 0) != 0) return;
    // Echo as a modem does in its default setting.
    SendBytes(raw + "\r", std::string());
    const bool enabling = command == "AT+VCID=1" || command == "AT#CID=1";
    const bool refuse = (command == "AT+VCID=1" && options_.refuseVcid) ||
                        (command == "AT#CID=1" && options_.refuseCid);
    std::string reply = std::string(kLineEnd) + (refuse ? "ERROR" : "OK") + kLineEnd;
    if (enabling && !refuse && !afterEnable_.empty()) {
      // One write, so the reader finds both in the same read.
      reply += kLineEnd + afterEnable_ + kLineEnd;
      afterEnable_.clear();
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
    std::string bytes;
    bytes.reserve(count);
    while (bytes.size() < count) {
      const char c = static_cast<char>(random_() & 0xff);
      if (c != '\r' && c != '\n') bytes += c;
    }
    SendBytes(bytes, "<garbage " + std::to_string(count) + ">");
  }

  static std::string Unescape(const std::string& text) {
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

  TOptions options_;
  int master_ = -1;
  int slave_ = -1;
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
    else if (arg == "--trace") options.trace = true;
    else {
      std::fprintf(stderr,
                   "usage: fakemodem --link PATH [--cadence SECONDS] [--refuse-vcid] [--refuse-cid] "
                   "[--silent] [--trace]\n");
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

  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGHUP);
  sigprocmask(SIG_BLOCK, &signals, nullptr);
  signal(SIGPIPE, SIG_IGN);
  const int signalFd = signalfd(-1, &signals, SFD_CLOEXEC);

  modem.Plug();
  std::string command;
  bool running = true;
  while (running) {
    const int wait = modem.RunSchedule();
    pollfd fds[3] = {{STDIN_FILENO, POLLIN, 0}, {signalFd, POLLIN, 0}, {modem.Master(), POLLIN, 0}};
    const nfds_t count = modem.Master() >= 0 ? 3 : 2;
    if (poll(fds, count, wait) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (fds[1].revents & POLLIN) break;
    if (count == 3 && (fds[2].revents & POLLIN)) modem.HandleModemInput();
    if (fds[0].revents & (POLLIN | POLLHUP)) {
      char buffer[4096];
      const ssize_t n = read(STDIN_FILENO, buffer, sizeof buffer);
      if (n <= 0) break;
      for (ssize_t i = 0; i < n && running; ++i) {
        if (buffer[i] != '\n') {
          command += buffer[i];
          continue;
        }
        if (!command.empty() && command.back() == '\r') command.pop_back();
        running = modem.HandleCommand(command);
        command.clear();
      }
    }
  }
  modem.Shutdown();
  return 0;
}
