// The program's end asked from outside: SIGTERM (the system shutting down,
// kill), SIGINT (Ctrl+C in a terminal), SIGHUP (the terminal closed). The
// signal is taken up by the event loop, never in the middle of a write: the
// program notes that it no longer runs ([Main] "Vendrolix:Running" := "No"),
// writes the log-out line and leaves its event loop as after the frame's
// close.
#pragma once

namespace ven {

// Installs the handlers; the event loop must be running for them to act.
void EndOnSignals();

// What a signal leads to, callable without one (tests).
void EndFromOutside();

} // namespace ven
