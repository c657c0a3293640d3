#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <memory>
#include <vector>

#include "telephony/line_timings.h"

class TPortProbe;

// What probing found out about one port.
struct TPortVerdict {
  enum class State {
    kAsking,    // no answer yet
    kAnswered,  // a modem answered: the port is offered
    kRefused,   // not offered; `reason` says why (no answer, in use, cannot be opened)
    kNoDevice,  // a serial port with no hardware behind it: not worth a word
  };
  State state = State::kAsking;
  QString reason;
};

// Asks serial ports whether a modem answers there, all at once and through
// the event loop. Probing never harms another device: a port another
// program holds (a UUCP lock, or open in another process) is neither opened
// nor offered, a port without a UART is closed again without a byte sent,
// and every port that is asked gets its exact terminal settings back.
//
// The probing is settled, and the listing can go on, once every port has a
// verdict, or the probe timeout has passed, or a port has answered and a
// short grace after it has passed: a silent port never answers anyway, and
// one that answers later is reported by Answered even then.
class TLineProber : public QObject {
  Q_OBJECT

 public:
  explicit TLineProber(const TLineTimings& timings, QObject* parent = nullptr);
  ~TLineProber() override;

  // Starts asking `paths`. `held` tells for each whether another process
  // holds it open (see platform::HeldByOtherProcesses); looked up here when
  // not given.
  void Probe(const QStringList& paths, std::vector<bool> held = {});
  bool Settled() const { return settled_; }
  TPortVerdict Verdict(const QString& path) const;
  // Ends the probe of `path` at once, its device needed for something else.
  void Cancel(const QString& path);

 signals:
  // Settled() has become true.
  void SettledNow();
  // The port at `path` answered (before or after settling).
  void Answered(const QString& path);

 private:
  void HandleVerdict(TPortProbe& probe);
  void Settle();

  TLineTimings timings_;
  std::vector<std::unique_ptr<TPortProbe>> probes_;
  QTimer timeout_;
  QTimer grace_;
  bool settled_ = false;
};
