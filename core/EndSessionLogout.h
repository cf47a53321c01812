// The end of the user's log-on: the program notes that it no longer runs,
// logs the log-out and ends at once, leaving its windows as they are.
#pragma once

namespace ven {

// Does not return (unless a test's halt handler is in place).
void EndSessionLogout();

} // namespace ven
