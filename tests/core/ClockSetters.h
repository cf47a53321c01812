// Stand-ins for every C library call that sets the computer's clock, linked
// into the core tests in place of the library's own: the program's code
// calls these instead, nothing is set, and the calls are counted.
#pragma once

namespace ven::test {

// Calls of clock_settime, settimeofday, adjtime, adjtimex, ntp_adjtime
// and clock_adjtime made so far in this test program.
int clockSettingCalls();

} // namespace ven::test
