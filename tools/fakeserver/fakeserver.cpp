// fakeserver: an NCID server or a FRITZ!Box call monitor on a local TCP port.
//
//   fakeserver --ncid|--fritzbox [--bind ADDRESS] [--port N] [--cadence SECONDS]
//              [--rings N] [--old-server] [--api-without-colon]
//              [--extra-fields] [--call-log N] [--trace]
//
// Listens on ADDRESS (default 127.0.0.1) and port N (default: a free one)
// and prints "ready <port>". It speaks to every client as the real server
// would, with the call script of fakemodem.
//
// As an NCID server it greets each client with "200" and "210" lines, waits
// a moment for the client's HELLO lines, sends its call log of N calls
// unless the client asked for none (else "251"/"252"), an OPT line and "300
// End of connection startup". --old-server greets like a very old server:
// "200" without a "210" line, the call log, then "300 end of call log".
// --api-without-colon writes the "210" line the older way; --extra-fields
// adds the fields of newer servers (FNMBR, NTYPE, CTRY, LOCA, CARI) to CID
// lines.
//
// Commands on standard input, one a line:
//   call NUMBER [NAME...]  a call: N rings (default 3) in the cadence,
//                          caller ID after the first, then missed; with
//                          --rings 0 it rings until "answer" or "hangup"
//   call-private           the same with a withheld number and name
//   call-outofarea         the same with an unavailable number and name
//   answer                 the latest call is answered
//   hangup                 the latest call ends (after "answer": hung up)
//   raw TEXT               TEXT and a line end, as it is
//   send TEXT              TEXT without a line end; \r \n \\ and \xHH escapes
//   garbage N              N random bytes without any line end
//   drop                   ends every client's connection; keeps listening
//   stop                   the server goes away: connections ended, the
//                          port closed (connections are refused)
//   start                  the server is back on the same port
//   quit                   ends (also at end of input)
// Reports: "connected <clients>", "closed <clients>", "got <line>" for each
// line a client sends ("keepalive" for an empty one), "stopped", "started";
// with --trace each call's caller-ID line as "sent <monotonic ns> <line>".
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <deque>
#include <random>
#include <string>
#include <vector>

#include "common/simulator.h"

namespace {

using simulator::Say;

constexpr int kDefaultRings = 3;
// "Until answered": more rings than any test waits for.
constexpr int kEndlessRings = 1000;
constexpr double kDefaultCadenceSeconds = 6.0;
// The caller-ID line follows the first ring after this share of the cadence.
constexpr double kCallerIdDelayShare = 0.25;
// How long an NCID client has to introduce itself before the call log.
constexpr int kHelloWaitMs = 300;
constexpr int kListenBacklog = 16;
constexpr int kWriteWaitMs = 1000;
// The number called, on a FRITZ!Box its own MSN, and its extension.
constexpr const char* kOwnNumber = "5551234";
constexpr const char* kExtension = "10";

enum class TKind { kNcid, kFritzBox };

struct TOptions {
  TKind kind = TKind::kNcid;
  bool kindGiven = false;
  std::string bind = "127.0.0.1";
  int port = 0;
  double cadenceSeconds = kDefaultCadenceSeconds;
  int rings = kDefaultRings;
  bool oldServer = false;
  bool apiWithoutColon = false;
  bool extraFields = false;
  int callLog = 0;
  bool trace = false;
};

using TClock = std::chrono::steady_clock;

struct TCall {
  int id = 0;
  std::string number;
  std::string name;
  TClock::time_point start;
  bool answered = false;
  bool over = false;
};

struct TScheduledLine {
  TClock::time_point due;
  int call = 0;
  std::string text;
  bool traced = false;  // the call's caller-ID line
};

struct TClient {
  int fd = -1;
  std::string input;
  bool live = false;  // start-up done: live lines go to it
  bool noLog = false;
  TClock::time_point helloDeadline;
};

std::string Now(const char* format) {
  const std::time_t wall = std::time(nullptr);
  std::tm local{};
  localtime_r(&wall, &local);
  char text[32];
  std::strftime(text, sizeof text, format, &local);
  return text;
}

TClock::duration Seconds(double seconds) {
  return std::chrono::duration_cast<TClock::duration>(std::chrono::duration<double>(seconds));
}

class TFakeServer {
 public:
  explicit TFakeServer(TOptions options) : options_(std::move(options)) {}

  void Listen() {
    listener_ =
        socket(options_.bind.find(':') == std::string::npos ? AF_INET : AF_INET6, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listener_ < 0) simulator::Fail("fakeserver", "socket");
    const int on = 1;
    // Back on the same port at once after "stop", as a restarted server is.
    setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_storage address{};
    socklen_t length = 0;
    if (options_.bind.find(':') == std::string::npos) {
      auto* v4 = reinterpret_cast<sockaddr_in*>(&address);
      v4->sin_family = AF_INET;
      v4->sin_port = htons(static_cast<uint16_t>(options_.port));
      if (inet_pton(AF_INET, options_.bind.c_str(), &v4->sin_addr) != 1) simulator::Fail("fakeserver", options_.bind);
      length = sizeof *v4;
    } else {
      auto* v6 = reinterpret_cast<sockaddr_in6*>(&address);
      v6->sin6_family = AF_INET6;
      v6->sin6_port = htons(static_cast<uint16_t>(options_.port));
      if (inet_pton(AF_INET6, options_.bind.c_str(), &v6->sin6_addr) != 1) simulator::Fail("fakeserver", options_.bind);
      length = sizeof *v6;
    }
    if (bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 || listen(listener_, kListenBacklog) != 0) {
      simulator::Fail("fakeserver", "listen on port " + std::to_string(options_.port));
    }
    if (options_.port == 0) {
      getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
      options_.port = ntohs(address.ss_family == AF_INET ? reinterpret_cast<sockaddr_in*>(&address)->sin_port
                                                         : reinterpret_cast<sockaddr_in6*>(&address)->sin6_port);
      Say("ready " + std::to_string(options_.port));
    } else {
      Say("started");
    }
  }

  // Returns false once the program should end.
  bool HandleCommand(const std::string& line) {
    const auto [word, rest] = simulator::SplitCommand(line);
    if (word == "call") {
      const auto [number, name] = simulator::SplitCommand(rest);
      StartCall(number, name);
    } else if (word == "call-private") {
      StartCall(Ncid() ? "PRIVATE" : "", "PRIVATE");
    } else if (word == "call-outofarea") {
      StartCall(Ncid() ? "OUT-OF-AREA" : "", "OUT-OF-AREA");
    } else if (word == "answer") {
      Answer();
    } else if (word == "hangup") {
      HangUp();
    } else if (word == "raw") {
      Broadcast(rest + LineEnd());
    } else if (word == "send") {
      Broadcast(simulator::Unescape(rest));
    } else if (word == "garbage") {
      Broadcast(simulator::Garbage(random_, std::strtoul(rest.c_str(), nullptr, 10)));
    } else if (word == "drop") {
      while (!clients_.empty()) CloseClient(clients_.size() - 1);
    } else if (word == "stop") {
      Stop();
      Say("stopped");
    } else if (word == "start") {
      if (listener_ < 0) Listen();
    } else if (word == "quit") {
      return false;
    } else if (!word.empty()) {
      Say("unknown command: " + word);
    }
    return true;
  }

  void Stop() {
    while (!clients_.empty()) CloseClient(clients_.size() - 1);
    if (listener_ >= 0) close(listener_);
    listener_ = -1;
  }

  void Accept() {
    const int fd = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) return;
    TClient client;
    client.fd = fd;
    clients_.push_back(client);
    Say("connected " + std::to_string(clients_.size()));
    TClient& added = clients_.back();
    if (!Ncid()) {
      added.live = true;
    } else if (options_.oldServer) {
      Send(added, std::string("200 Network CallerID Server Version 0.60") + LineEnd());
      FinishStartup(added);
    } else {
      Send(added, std::string("200 Server: ncidd (NCID) 1.12") + LineEnd());
      Send(added,
           std::string(options_.apiWithoutColon ? "210 API 1.5 Feature Set 1 2" : "210 API: 1.12 Feature Set 1 2 3 4") +
               LineEnd());
      added.helloDeadline = TClock::now() + std::chrono::milliseconds(kHelloWaitMs);
    }
  }

  // Reads what client `index` sent; false when it has gone (and is removed).
  bool ReadClient(std::size_t index) {
    char buffer[4096];
    const ssize_t n = read(clients_[index].fd, buffer, sizeof buffer);
    if (n <= 0) {
      CloseClient(index);
      return false;
    }
    TClient& client = clients_[index];
    client.input.append(buffer, static_cast<std::size_t>(n));
    std::string::size_type end;
    while ((end = client.input.find('\n')) != std::string::npos) {
      std::string line = client.input.substr(0, end);
      client.input.erase(0, end + 1);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      Say(line.empty() ? std::string("keepalive") : "got " + line);
      if (line.rfind("HELLO: CMD: no_log", 0) == 0) client.noLog = true;
      // The last line of a client's introduction.
      if (!client.live && line.rfind("HELLO: CMD:", 0) == 0) FinishStartup(client);
    }
    return true;
  }

  // Sends what is due and ends start-ups whose wait has passed; returns ms
  // until the next thing to do, or -1.
  int RunTimers() {
    const TClock::time_point now = TClock::now();
    while (!schedule_.empty() && schedule_.front().due <= now) {
      const TScheduledLine line = schedule_.front();
      schedule_.pop_front();
      if (line.traced && options_.trace) {
        Say("sent " + std::to_string(simulator::MonotonicNanoseconds()) + " " + line.text);
      }
      if (line.text.empty()) {
        if (TCall* call = FindCall(line.call)) call->over = true;
      } else {
        Broadcast(line.text + LineEnd());
      }
    }
    TClock::time_point next = TClock::time_point::max();
    if (!schedule_.empty()) next = schedule_.front().due;
    for (TClient& client : clients_) {
      if (client.live) continue;
      if (client.helloDeadline <= now)
        FinishStartup(client);
      else
        next = std::min(next, client.helloDeadline);
    }
    if (next == TClock::time_point::max()) return -1;
    return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(next - now).count()) + 1;
  }

  int Listener() const { return listener_; }
  const std::vector<TClient>& Clients() const { return clients_; }

 private:
  bool Ncid() const { return options_.kind == TKind::kNcid; }
  const char* LineEnd() const { return Ncid() ? "\r\n" : "\n"; }

  void FinishStartup(TClient& client) {
    if (client.live) return;
    client.live = true;
    const bool sendLog = options_.callLog > 0 && !client.noLog;
    if (!options_.oldServer) {
      Send(client, std::string(sendLog        ? "254 Start of call log"
                               : client.noLog ? "251 Call log not sent"
                                              : "252 Call log empty") +
                       LineEnd());
    }
    for (int i = 0; sendLog && i < options_.callLog; ++i) {
      Send(client, "CIDLOG: *DATE*" + Now("%m%d%Y") + "*TIME*0800*LINE*POTS*NMBR*555000" + std::to_string(i % 10) +
                       "*MESG*NONE*NAME*OLD CALL*" + LineEnd());
      Send(client,
           "HUPLOG: *DATE*" + Now("%m%d%Y") + "*TIME*0801*LINE*POTS*NMBR*5550009*MESG*NONE*NAME*BLOCKED*" + LineEnd());
    }
    if (options_.oldServer) {
      Send(client, std::string("300 end of call log") + LineEnd());
      return;
    }
    if (sendLog) Send(client, std::string("250 End of call log") + LineEnd());
    Send(client, std::string("OPT: hangup 0") + LineEnd());
    Send(client, std::string("300 End of connection startup") + LineEnd());
  }

  void CloseClient(std::size_t index) {
    close(clients_[index].fd);
    clients_.erase(clients_.begin() + static_cast<std::ptrdiff_t>(index));
    Say("closed " + std::to_string(clients_.size()));
  }

  TCall* FindCall(int id) {
    for (TCall& call : calls_) {
      if (call.id == id) return &call;
    }
    return nullptr;
  }

  void StartCall(const std::string& number, const std::string& name) {
    TCall call;
    call.id = nextCallId_++;
    call.number = number;
    call.name = name.empty() ? "NO NAME" : name;
    call.start = TClock::now();
    calls_.push_back(call);
    const TClock::duration cadence = Seconds(options_.cadenceSeconds);
    const bool endless = options_.rings == 0;
    const int rings = endless ? kEndlessRings : options_.rings;
    const TClock::time_point missed = call.start + cadence * rings;
    if (Ncid()) {
      Schedule(call.start, call.id, RingCount(1));
      Schedule(call.start + Seconds(options_.cadenceSeconds * kCallerIdDelayShare), call.id, CidLine(call), true);
      for (int ring = 2; ring <= rings; ++ring) Schedule(call.start + cadence * (ring - 1), call.id, RingCount(ring));
      if (!endless) {
        Schedule(missed, call.id, RingCount(-1));
        Schedule(missed, call.id, EndLine(call, "CANCEL"));
      }
    } else {
      Schedule(call.start, call.id,
               FritzDate() + ";RING;" + std::to_string(call.id) + ";" + number + ";" + kOwnNumber + ";SIP0;", true);
      if (!endless) Schedule(missed, call.id, Disconnect(call));
    }
    // The call is over once its last line went out.
    if (!endless) Schedule(missed, call.id, std::string());
  }

  void Answer() {
    TCall* call = LatestCall();
    if (!call || call->answered) return;
    Unschedule(call->id);
    call->answered = true;
    if (Ncid()) {
      Broadcast(RingCount(0) + LineEnd());
    } else {
      Broadcast(FritzDate() + ";CONNECT;" + std::to_string(call->id) + ";" + kExtension + ";" + call->number + ";" +
                LineEnd());
    }
  }

  void HangUp() {
    TCall* call = LatestCall();
    if (!call) return;
    Unschedule(call->id);
    call->over = true;
    if (Ncid()) {
      Broadcast(RingCount(call->answered ? -2 : -1) + LineEnd());
      Broadcast(EndLine(*call, call->answered ? "BYE" : "CANCEL") + LineEnd());
    } else {
      Broadcast(Disconnect(*call) + LineEnd());
    }
  }

  TCall* LatestCall() {
    for (auto call = calls_.rbegin(); call != calls_.rend(); ++call) {
      if (!call->over) return &*call;
    }
    return nullptr;
  }

  std::string RingCount(int ring) const {
    return "CIDINFO: *LINE*POTS*RING*" + std::to_string(ring) + "*TIME*" + Now("%H:%M:%S") + "*";
  }

  std::string CidLine(const TCall& call) const {
    std::string line =
        "CID: *DATE*" + Now("%m%d%Y") + "*TIME*" + Now("%H%M") + "*LINE*POTS*NMBR*" + call.number + "*MESG*NONE*";
    if (options_.extraFields) line += "FNMBR*+1" + call.number + "*NTYPE*CELL*CTRY*US*LOCA*NEW YORK*CARI*-*";
    return line + "NAME*" + call.name + "*";
  }

  std::string EndLine(const TCall& call, const char* hangup) const {
    const std::string stamp = Now("%m/%d/%Y %H:%M:%S");
    return std::string("END: *HTYPE*") + hangup + "*DATE*" + Now("%m%d%Y") + "*TIME*" + Now("%H%M") + "*SCALL*" +
           stamp + "*ECALL*" + stamp + "*CTYPE*IN*LINE*POTS*NMBR*" + call.number + "*NAME*" + call.name + "*";
  }

  static std::string FritzDate() { return Now("%d.%m.%y %H:%M:%S"); }

  std::string Disconnect(const TCall& call) const {
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(TClock::now() - call.start).count();
    return FritzDate() + ";DISCONNECT;" + std::to_string(call.id) + ";" + std::to_string(call.answered ? seconds : 0) +
           ";";
  }

  void Schedule(TClock::time_point due, int call, const std::string& text, bool traced = false) {
    auto at = schedule_.end();
    while (at != schedule_.begin() && (at - 1)->due > due) --at;
    schedule_.insert(at, {due, call, text, traced});
  }

  void Unschedule(int call) {
    schedule_.erase(std::remove_if(schedule_.begin(), schedule_.end(),
                                   [call](const TScheduledLine& line) { return line.call == call; }),
                    schedule_.end());
  }

  // To every client past its start-up.
  void Broadcast(const std::string& bytes) {
    for (TClient& client : clients_) {
      if (client.live) Send(client, bytes);
    }
  }

  static void Send(const TClient& client, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = send(client.fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL | MSG_DONTWAIT);
      if (n > 0) {
        done += static_cast<std::size_t>(n);
      } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
        // The client does not read: wait a little for room, then drop the rest.
        pollfd p{client.fd, POLLOUT, 0};
        if (poll(&p, 1, kWriteWaitMs) <= 0) return;
      } else {
        return;  // gone: the next read finds out
      }
    }
  }

  TOptions options_;
  int listener_ = -1;
  std::vector<TClient> clients_;
  std::vector<TCall> calls_;
  int nextCallId_ = 0;
  std::deque<TScheduledLine> schedule_;
  std::minstd_rand random_{12345};
};

TOptions ParseOptions(int argc, char** argv) {
  TOptions options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--ncid" || arg == "--fritzbox") {
      options.kind = arg == "--ncid" ? TKind::kNcid : TKind::kFritzBox;
      options.kindGiven = true;
    } else if (arg == "--bind" && i + 1 < argc) {
      options.bind = argv[++i];
    } else if (arg == "--port" && i + 1 < argc) {
      options.port = std::atoi(argv[++i]);
    } else if (arg == "--cadence" && i + 1 < argc) {
      options.cadenceSeconds = std::atof(argv[++i]);
    } else if (arg == "--rings" && i + 1 < argc) {
      options.rings = std::atoi(argv[++i]);
    } else if (arg == "--call-log" && i + 1 < argc) {
      options.callLog = std::atoi(argv[++i]);
    } else if (arg == "--old-server") {
      options.oldServer = true;
    } else if (arg == "--api-without-colon") {
      options.apiWithoutColon = true;
    } else if (arg == "--extra-fields") {
      options.extraFields = true;
    } else if (arg == "--trace") {
      options.trace = true;
    } else {
      options.kindGiven = false;
      break;
    }
  }
  if (!options.kindGiven || !(options.cadenceSeconds >= 0) || options.rings < 0 || options.port < 0 ||
      options.port > 65535) {
    std::fprintf(stderr,
                 "usage: fakeserver --ncid|--fritzbox [--bind ADDRESS] [--port N] [--cadence SECONDS] "
                 "[--rings N] [--old-server] [--api-without-colon] [--extra-fields] [--call-log N] [--trace]\n");
    std::exit(2);
  }
  return options;
}

}  // namespace

int main(int argc, char** argv) {
  TFakeServer server(ParseOptions(argc, argv));

  const int signalFd = simulator::TerminationSignals();

  server.Listen();
  simulator::TCommandReader commands;
  bool running = true;
  while (running) {
    const int wait = server.RunTimers();
    std::vector<pollfd> fds{{STDIN_FILENO, POLLIN, 0}, {signalFd, POLLIN, 0}, {server.Listener(), POLLIN, 0}};
    for (const TClient& client : server.Clients()) fds.push_back({client.fd, POLLIN, 0});
    if (poll(fds.data(), fds.size(), wait) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (fds[1].revents & POLLIN) break;
    // Clients first, from the last, so the indices of those not yet read stay.
    for (std::size_t i = fds.size(); i-- > 3;) {
      if (fds[i].revents & (POLLIN | POLLHUP | POLLERR)) server.ReadClient(i - 3);
    }
    if (server.Listener() >= 0 && (fds[2].revents & POLLIN)) server.Accept();
    if (fds[0].revents & (POLLIN | POLLHUP)) {
      running = commands.ReadAvailable([&](const std::string& line) { return server.HandleCommand(line); });
    }
  }
  server.Stop();
  return 0;
}
