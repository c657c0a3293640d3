#include "session_end.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>

namespace platform {
namespace {

int g_pipe[2] = {-1, -1};
constexpr int kWatchedSignals[] = {SIGTERM, SIGHUP};

extern "C" void OnEndSignal(int) {
  const int saved = errno;
  const char byte = 1;
  // A full pipe already holds a pending notification; losing this byte is fine.
  [[maybe_unused]] ssize_t n = ::write(g_pipe[1], &byte, 1);
  errno = saved;
}

}  // namespace

SessionEndWatcher::SessionEndWatcher(QObject* parent) : QObject(parent) {
  if (g_pipe[0] != -1) throw std::logic_error("only one SessionEndWatcher may exist");
  if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
    g_pipe[0] = g_pipe[1] = -1;
    throw std::runtime_error("cannot create the session-end pipe");
  }
  struct sigaction action {};
  action.sa_handler = OnEndSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int sig : kWatchedSignals) ::sigaction(sig, &action, nullptr);

  notifier_ = std::make_unique<QSocketNotifier>(g_pipe[0], QSocketNotifier::Read);
  notifier_->setEnabled(false);
  connect(notifier_.get(), &QSocketNotifier::activated, this, &SessionEndWatcher::DrainPipe);

  if (auto* gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
    // Not cancelling the request is the answer "the session may end".
    connect(gui, &QGuiApplication::commitDataRequest, this, [](QSessionManager&) {});
    gui->installEventFilter(this);
  }
}

SessionEndWatcher::~SessionEndWatcher() {
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  for (int sig : kWatchedSignals) ::sigaction(sig, &action, nullptr);
  notifier_.reset();
  ::close(g_pipe[0]);
  ::close(g_pipe[1]);
  g_pipe[0] = g_pipe[1] = -1;
}

void SessionEndWatcher::Start() {
  started_ = true;
  notifier_->setEnabled(true);
  if (quitPending_) {
    quitPending_ = false;
    emit SessionEnding();
  }
}

void SessionEndWatcher::DrainPipe() {
  char buffer[64];
  bool any = false;
  while (::read(g_pipe[0], buffer, sizeof buffer) > 0) any = true;
  if (any) emit SessionEnding();
}

bool SessionEndWatcher::eventFilter(QObject* watched, QEvent* event) {
  // The session manager (and the window system) end an application with a
  // Quit event; the program's own exit never sends one. Taking it over means
  // the session's end runs the program's orderly exit instead of closing
  // windows, which the main window refuses.
  if (watched == QCoreApplication::instance() && event->type() == QEvent::Quit) {
    if (started_) emit SessionEnding();
    else quitPending_ = true;
    return true;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace platform
