#include "installed_program.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <csignal>

#include "desktop_session.h"

namespace {

bool CopyTree(const QString& from, const QString& to) {
  if (!QDir().mkpath(to)) return false;
  QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString source = it.next();
    const QString target = to + "/" + QDir(from).relativeFilePath(source);
    if (it.fileInfo().isDir()) {
      if (!QDir().mkpath(target)) return false;
    } else if (!QFile::copy(source, target)) {
      return false;
    }
  }
  return true;
}

}  // namespace

InstalledProgram::InstalledProgram() {
  if (!dir_.isValid()) return;
  const QString bin = QStringLiteral(QUORVEL_E2E_BIN_DIR);
  ready_ = QDir().mkpath(Path("app")) && QDir().mkpath(Path("config")) &&
           QDir().mkpath(Path("run")) &&
           QFile::setPermissions(Path("run"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner) &&
           QFile::copy(bin + "/quorvel", Path("app/quorvel")) &&
           CopyTree(bin + "/html", Path("app/html"));
  if (ready_ && QFileInfo::exists(bin + "/Default.BMP"))
    ready_ = QFile::copy(bin + "/Default.BMP", Path("app/Default.BMP"));
}

InstalledProgram::~InstalledProgram() {
  for (auto& p : processes_) {
    if (p->state() == QProcess::NotRunning) continue;
    p->kill();
    p->waitForFinished(10000);
  }
}

QString InstalledProgram::AppDirectory() const { return Path("app") + "/"; }

QString InstalledProgram::SettingsFile() const { return Path("config/Varnock/Quorvel.ini"); }

void InstalledProgram::Store(const QString& name, const QString& value, const QString& key) {
  QSettings s(SettingsFile(), QSettings::IniFormat);
  s.setValue(key + "/" + name, value);
  s.sync();
}

QString InstalledProgram::Stored(const QString& name, const QString& key) const {
  QSettings s(SettingsFile(), QSettings::IniFormat);
  return s.value(key + "/" + name).toString();
}

QByteArray InstalledProgram::SettingsBytes() const {
  QFile f(SettingsFile());
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void InstalledProgram::UseLine(const QString& line) {
  Store("ExtraLines", line);
  Store("Modem", line);
}

int InstalledProgram::Start(const DesktopSession& desktop) {
  auto process = std::make_unique<QProcess>();
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  desktop.AddTo(env);
  env.insert("XDG_CONFIG_HOME", Path("config"));
  env.insert("XDG_RUNTIME_DIR", Path("run"));
  // Never the user's own data, should the program's folder not be writable.
  env.insert("XDG_DATA_HOME", Path("data"));
  process->setProcessEnvironment(env);
  process->setWorkingDirectory(dir_.path());
  if (captureErrors_) {
    process->setProcessChannelMode(QProcess::ForwardedOutputChannel);
    process->setStandardErrorFile(ErrorOutputFile(), QIODevice::Append);
  } else {
    process->setProcessChannelMode(QProcess::ForwardedChannels);
  }
  process->start(Path("app/quorvel"), {});
  process->waitForStarted(60000);
  processes_.push_back(std::move(process));
  return int(processes_.size()) - 1;
}

bool InstalledProgram::StartInTray(DesktopSession& desktop) {
  if (!desktop.StartTray()) return false;
  Start(desktop);
  return desktop.WaitForTrayIcon() > 0;
}

int InstalledProgram::WaitForExit(int index, int timeoutMs) {
  QProcess& p = Process(index);
  if (p.state() != QProcess::NotRunning && !p.waitForFinished(timeoutMs)) return -1;
  return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

void InstalledProgram::Signal(int sig, int index) {
  const qint64 pid = Process(index).processId();
  if (pid > 0) ::kill(pid_t(pid), sig);
}
