#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>
#include <memory>

class DesktopSession;

// The built program copied, with its run-time files, into a temporary
// folder, with its own settings folder (XDG_CONFIG_HOME), data folder
// (XDG_DATA_HOME) and runtime folder
// (XDG_RUNTIME_DIR, which holds the single-instance lock).
class InstalledProgram {
 public:
  InstalledProgram();
  ~InstalledProgram();
  InstalledProgram(const InstalledProgram&) = delete;
  InstalledProgram& operator=(const InstalledProgram&) = delete;

  bool Ready() const { return ready_; }
  // The folder the program runs from, ending in "/".
  QString AppDirectory() const;
  QString Path(const QString& name) const { return dir_.filePath(name); }

  // The program's settings file and single values in it ("Settings" key
  // unless a key path is given).
  QString SettingsFile() const;
  // The call log the program keeps (its XDG_DATA_HOME is the "data" folder).
  QString CallLogFile() const { return Path("data/Varnock/Quorvel/calls.sqlite"); }
  void Store(const QString& name, const QString& value, const QString& key = "Settings");
  QString Stored(const QString& name, const QString& key = "Settings") const;
  QByteArray SettingsBytes() const;
  // Makes `line` the only line offered and the one watched.
  void UseLine(const QString& line);

  // What copies started from now on write to standard error goes to
  // ErrorOutputFile() instead of the test's own output.
  void CaptureErrorOutput() { captureErrors_ = true; }
  QString ErrorOutputFile() const { return Path("stderr.log"); }

  // Starts one more copy of the program on `desktop`; returns its index.
  int Start(const DesktopSession& desktop);
  // Starts the desktop's tray and then the program; true once its icon is
  // there, which comes with the last step of the start.
  bool StartInTray(DesktopSession& desktop);
  QProcess& Process(int index = 0) { return *processes_.at(std::size_t(index)); }
  // True when copy `index` was started and has not ended.
  bool Running(int index = 0) const {
    return std::size_t(index) < processes_.size() &&
           processes_[std::size_t(index)]->state() == QProcess::Running;
  }
  // Waits for copy `index` to end; returns its exit code, or -1 when it
  // crashed or was still running after `timeoutMs`.
  int WaitForExit(int index = 0, int timeoutMs = 60000);
  void Signal(int sig, int index = 0);

 private:
  QTemporaryDir dir_;
  bool ready_ = false;
  bool captureErrors_ = false;
  std::vector<std::unique_ptr<QProcess>> processes_;
};
