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

// Puts `handler` in place of the real end; an empty function restores it.
void setHaltHandler(std::function<void()> handler);

} // namespace ven
