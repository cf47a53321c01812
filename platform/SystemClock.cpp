// Setting the computer's clock through clock_settime, or through the
// handler a test put in its place.
#include "platform/SystemClock.h"

#include <cerrno>
#include <cstring>
#include <ctime>

namespace ven {

namespace {

LocalTimeSetter& handler()
{
    static LocalTimeSetter h;
    return h;
}

bool setRealClock(const QDateTime& moment, QString* error)
{
    if (!moment.isValid()) {
        if (error)
            *error = QStringLiteral("Invalid time");
        return false;
    }
    const qint64 ms = moment.toMSecsSinceEpoch();
    timespec ts{};
    ts.tv_sec = time_t(ms / 1000);
    ts.tv_nsec = long(ms % 1000) * 1000000L;
    if (ts.tv_nsec < 0) {  // moments before 1970
        ts.tv_sec -= 1;
        ts.tv_nsec += 1000000000L;
    }
    if (clock_settime(CLOCK_REALTIME, &ts) == 0)
        return true;
    if (error)
        *error = QString::fromLocal8Bit(std::strerror(errno));
    return false;
}

} // namespace

bool setLocalTime(const QDateTime& moment, QString* error)
{
    if (handler())
        return handler()(moment, error);
    return setRealClock(moment, error);
}

void setLocalTimeHandler(LocalTimeSetter h)
{
    handler() = std::move(h);
}

} // namespace ven
