// Ends the program at once, without a message and without closing windows.
// The end is a replaceable handler so that tests can watch it happen.
#pragma once

#include <functional>

namespace ven {

// Ends the program now (by default std::exit(0)). With a test's handler in
// place it returns after the handler; callers then stop what they were doing.
void HaltProgram();

// Marks the program as no longer running ([Main] "Vendrolix:Running" := "No"
// in Program_Path's settings file), then halts.
void HaltNotRunning();

// Ends the program's event loop with `code` once the frame has closed,
// whatever other windows are still open: they are not asked to close (a
// window that refuses its close would otherwise keep the program alive).
void EndEventLoop(int code = 0);

// Puts `handler` in place of the real end; an empty function restores it.
void setHaltHandler(std::function<void()> handler);

} // namespace ven
