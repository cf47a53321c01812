// The process-wide clock and its replacement for tests.
#include "platform/Clock.h"

#include "platform/DateTime.h"

#include <atomic>

namespace ven {

namespace {
SystemClock systemClock;
std::atomic<Clock*> current{&systemClock};
} // namespace

int32_t Clock::today() const { return dayNumber(now()); }
int32_t Clock::time() const { return timeValue(now()); }

Clock& clock() { return *current.load(); }

void setClock(Clock* replacement) { current.store(replacement ? replacement : &systemClock); }

} // namespace ven
