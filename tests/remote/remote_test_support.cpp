#include "remote_test_support.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusReply>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <ostream>
#include <unistd.h>

#include "platform/delay_with_messages.h"

bool WaitUntil(const std::function<bool()>& done, int timeoutMs) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > timeoutMs) return false;
    DelayWithMessages(20);
  }
  return true;
}

QString UniqueBusName(const QString& tag) {
  static std::atomic<int> counter{0};
  return QStringLiteral("org.varnock.QuorvelTest.%1.p%2n%3")
      .arg(tag)
      .arg(QCoreApplication::applicationPid())
      .arg(++counter);
}

QString DdeReceiverPath() { return QStringLiteral(QUORVEL_DDE_RECEIVER); }

QString ReadFileText(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll());
}

bool WriteFile(const QString& path, const QByteArray& content) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size()) return false;
  file.close();
  return file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

bool WriteProgram(const QString& path, const QByteArray& content) {
  return WriteFile(path, content) &&
         QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

namespace {

// Undoes dde-receiver's quoting of one argument starting at `at` (a '"').
QString Unquote(const QString& line, qsizetype& at) {
  QString value;
  for (++at; at < line.size() && line[at] != QLatin1Char('"'); ++at) {
    if (line[at] != QLatin1Char('\\') || at + 1 >= line.size()) {
      value += line[at];
      continue;
    }
    const QChar escaped = line[++at];
    if (escaped == QLatin1Char('n')) value += QLatin1Char('\n');
    else if (escaped == QLatin1Char('r')) value += QLatin1Char('\r');
    else if (escaped == QLatin1Char('t')) value += QLatin1Char('\t');
    else if (escaped == QLatin1Char('x')) {
      value += QChar(line.mid(at + 1, 2).toUShort(nullptr, 16));
      at += 2;
    } else value += escaped;
  }
  ++at;  // the closing quote
  return value;
}

}  // namespace

std::vector<TReceivedCall> ParseReceiverOutput(const QString& output) {
  // "yyyy-MM-dd HH:mm:ss.zzz Method "arg" "arg"..."
  static const QRegularExpression head(
      QStringLiteral(R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} (\w+) )"));
  std::vector<TReceivedCall> calls;
  for (const QString& line : output.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
    const QRegularExpressionMatch match = head.match(line);
    if (!match.hasMatch()) continue;
    TReceivedCall call{match.captured(1), {}};
    qsizetype at = match.capturedEnd();
    while (at < line.size() && line[at] == QLatin1Char('"')) {
      call.arguments << Unquote(line, at);
      if (at < line.size() && line[at] == QLatin1Char(' ')) ++at;
    }
    calls.push_back(call);
  }
  return calls;
}

std::ostream& operator<<(std::ostream& out, const TReceivedCall& call) {
  out << call.method.toStdString() << "(";
  for (const QString& argument : call.arguments) out << '"' << argument.toStdString() << "\" ";
  return out << ")";
}

TPrivateBus::TPrivateBus() : connection_(QStringLiteral("unconnected")) {
  static std::atomic<int> counter{0};
  daemon_.setStandardErrorFile(QProcess::nullDevice());
  daemon_.start(QStringLiteral("dbus-daemon"),
                {QStringLiteral("--session"), QStringLiteral("--nofork"),
                 QStringLiteral("--print-address=1")});
  if (!WaitUntil([this] {
        address_ += QString::fromUtf8(daemon_.readAllStandardOutput());
        return address_.contains(QLatin1Char('\n'));
      })) {
    return;
  }
  address_ = address_.trimmed();
  connection_ = QDBusConnection::connectToBus(
      address_, QStringLiteral("private-bus-%1").arg(++counter));
}

TPrivateBus::~TPrivateBus() {
  Resume();
  QDBusConnection::disconnectFromBus(connection_.name());
  daemon_.kill();
  daemon_.waitForFinished(30000);
}

void TPrivateBus::Stop() { kill(static_cast<pid_t>(daemon_.processId()), SIGSTOP); }
void TPrivateBus::Resume() { kill(static_cast<pid_t>(daemon_.processId()), SIGCONT); }

TLoopStallMeter::TLoopStallMeter() {
  sinceTick_.start();
  QObject::connect(&tick_, &QTimer::timeout, [this] {
    longest_ = std::max(longest_, sinceTick_.restart());
  });
  tick_.start(5);
}

TReceiverProcess::TReceiverProcess(const QString& busName, const QString& busAddress)
    : busName_(busName) {
  process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  if (!busAddress.isEmpty()) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), busAddress);
    process_.setProcessEnvironment(env);
  }
  QObject::connect(&process_, &QProcess::readyReadStandardOutput, [this] {
    output_ += QString::fromUtf8(process_.readAllStandardOutput());
  });
}

TReceiverProcess::~TReceiverProcess() {
  if (process_.state() == QProcess::NotRunning) return;
  process_.kill();
  process_.waitForFinished(30000);
}

bool TReceiverProcess::Start() {
  process_.start(DdeReceiverPath(), {busName_});
  return WaitUntil([this] { return output_.contains(QStringLiteral("ready ") + busName_); });
}

std::vector<TReceivedCall> TReceiverProcess::WaitForCalls(std::size_t count, int timeoutMs) {
  WaitUntil([&] { return ParseReceiverOutput(output_).size() >= count; }, timeoutMs);
  return ParseReceiverOutput(output_);
}

TScopedEnv::TScopedEnv(const char* name, const QByteArray& value) : name_(name) {
  if (qEnvironmentVariableIsSet(name)) previous_ = qgetenv(name);
  qputenv(name, value);
}

TScopedEnv::~TScopedEnv() {
  if (previous_) qputenv(name_, *previous_);
  else qunsetenv(name_);
}

TStdoutToFile::TStdoutToFile(const QString& path) {
  std::fflush(stdout);
  saved_ = dup(STDOUT_FILENO);
  const int fd = open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd >= 0) {
    dup2(fd, STDOUT_FILENO);
    close(fd);
  }
}

TStdoutToFile::~TStdoutToFile() {
  std::fflush(stdout);
  if (saved_ >= 0) {
    dup2(saved_, STDOUT_FILENO);
    close(saved_);
  }
}

quint32 BusNameOwnerPid(const QString& busName) {
  const QDBusReply<uint> pid = QDBusConnection::sessionBus().interface()->servicePid(busName);
  return pid.isValid() ? pid.value() : 0;
}

bool BusNameOwned(const QString& busName) {
  const QDBusReply<bool> owned =
      QDBusConnection::sessionBus().interface()->isServiceRegistered(busName);
  return owned.isValid() && owned.value();
}
