#pragma once

// Waits `ms` milliseconds while the event loop keeps running, so timers,
// serial-port reads, D-Bus traffic and user input are handled (and handlers
// may run nested inside the caller). Pending events are always dispatched at
// least once, even for 0. The wait sleeps in the event loop: it does not spin.
void DelayWithMessages(int ms);
