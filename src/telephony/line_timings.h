#pragma once

// The waits and intervals of the line layer. The defaults are the
// program's; tests shorten them so that none waits long on the wall clock.
struct TLineTimings {
  // Ring timeout: 0 takes the "RingTimeout" setting when the line opens.
  int ringTimeoutMs = 0;
  // How often a line whose device went away, or whose server cannot be
  // reached, is tried again.
  int reopenIntervalMs = 5000;
  // How long a probed port has to answer.
  int probeTimeoutMs = 500;
  // Once one port has answered, how much longer the listing waits for the
  // others before offering what it has (a port that answers later is still
  // offered then).
  int probeGraceMs = 30;
  // How long each command of the opening sequence may take; the reset
  // gets longer, as some modems take seconds over it.
  int commandTimeoutMs = 2000;
  int resetTimeoutMs = 6000;
  // A network line sends its keep-alive after this long without traffic,
  // and connects anew when the server has said nothing for this long plus
  // the margin (a server that went away without closing the connection).
  int keepAliveMs = 15 * 60 * 1000;
  int keepAliveMarginMs = 60 * 1000;
  // On a line that says how every call ends but nothing while the phone
  // rings (a FRITZ!Box), a call that rang waits at least this long for that
  // word: people answer after several rings, and a ring timeout of seconds
  // would end nearly every call before its outcome is known.
  int callEndWaitMs = 2 * 60 * 1000;
};
