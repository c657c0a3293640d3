#pragma once

#include <QObject>
#include <memory>
#include <string>
#include <vector>

#include "platform/process_start.h"

class QSocketNotifier;
class QTimer;

namespace platform {

// How a watched program ended.
struct TProcessEnd {
  bool Killed = false;  // ended by a signal rather than by exiting
  int Status = 0;       // the exit status, or the signal's number
  // The last line the program wrote to its standard error that held more
  // than blanks (at most kMaxErrorLineBytes of it); empty when none.
  std::string LastErrorLine;
};

inline constexpr std::size_t kMaxErrorLineBytes = 1000;

// Starts a program without waiting for it, like StartProcessDetached, but as
// a child whose end and standard error are watched from the event loop: when
// it ends, Finished tells how. Nothing blocks while it runs. The program has
// a session of its own and runs on should this object, or the whole process,
// end first.
class TWatchedProcess : public QObject {
  Q_OBJECT

 public:
  explicit TWatchedProcess(QObject* parent = nullptr);
  ~TWatchedProcess() override;

  // Returns 0 when the program runs, otherwise the error number of the
  // failed start (and Finished never comes). Only one start per object.
  int Start(const std::string& program, const std::vector<std::string>& arguments,
            const EnvironmentAdditions& environment = {});

 signals:
  void Finished(const platform::TProcessEnd& end);

 private:
  void ReadErrors();
  void CheckEnded();
  void CloseAll();

  int pid_ = -1;
  int errorFd_ = -1;
  int pidFd_ = -1;
  std::unique_ptr<QSocketNotifier> errorNotifier_;
  std::unique_ptr<QSocketNotifier> endNotifier_;
  std::unique_ptr<QTimer> endPoll_;  // where the system offers no process descriptor
  std::string line_;                 // the unfinished line of standard error
  std::string lastLine_;
};

}  // namespace platform
