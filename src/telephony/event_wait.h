#pragma once

class QEventLoop;

// A wait that keeps the event loop running until Finish() is called, so a
// property write that needs the modem's answer keeps its synchronous shape
// without freezing the window. Handlers may run nested meanwhile; one that
// makes the wait pointless finishes it. Run() also returns when the
// application quits; Finished() then stays false.
class TEventWait {
 public:
  void Run();
  void Finish();
  bool Finished() const { return finished_; }

 private:
  bool finished_ = false;
  QEventLoop* loop_ = nullptr;
};
