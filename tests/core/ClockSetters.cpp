// The counting stand-ins of the clock-setting calls (ClockSetters.h). Their
// declarations come from the system headers, so the signatures are the
// library's own; each refuses as without privilege.
#include "ClockSetters.h"

#include <atomic>
#include <cerrno>
#include <ctime>
#include <sys/time.h>
#include <sys/timex.h>

namespace {
std::atomic<int> calls{0};

int refused()
{
    ++calls;
    errno = EPERM;
    return -1;
}
} // namespace

int ven::test::clockSettingCalls() { return calls; }

extern "C" {
int clock_settime(clockid_t, const struct timespec*) __THROW { return refused(); }
int settimeofday(const struct timeval*, const struct timezone*) __THROW { return refused(); }
int adjtime(const struct timeval*, struct timeval*) __THROW { return refused(); }
int adjtimex(struct timex*) __THROW { return refused(); }
int ntp_adjtime(struct timex*) __THROW { return refused(); }
int clock_adjtime(clockid_t, struct timex*) __THROW { return refused(); }
}
