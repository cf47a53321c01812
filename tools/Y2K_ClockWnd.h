// Y2K_ClockWnd, the countdown: the years, months, days and time of day to
// (or since) the target date and time of the settings, and the same span as
// totals of days, hours, minutes and seconds. Closes itself ten minutes
// after it opened or was last double-clicked.
#pragma once

#include "platform/WindowController.h"

#include <QStringList>

#include <cstdint>
#include <memory>

namespace ven {

// The span between now and a target, in whole seconds.
struct CountdownSpan {
    bool ahead = false;   // the target still lies ahead
    int years = 0, months = 0, days = 0;
    int hours = 0, minutes = 0, seconds = 0;
    int64_t totalDays = 0;
};

// The span from `today` at `now` to `targetDate` at `targetTime` (day
// numbers and time values; hundredths do not count). A target reached or
// behind counts the time since it.
CountdownSpan countdownSpan(int32_t today, int32_t now, int32_t targetDate, int32_t targetTime);

// The five display lines of a span: y-m-d and time, total days and time,
// total hours, total minutes and total seconds.
QStringList countdownLines(const CountdownSpan& span);

// The target of the settings file's [Main] "Date" and "Time": a blank,
// non-numeric or invalid date is 1 January 2001, such a time midnight.
struct CountdownTarget {
    int32_t date = 0, time = 0;
};
CountdownTarget countdownTarget(const QString& iniFile);

std::unique_ptr<WindowController> makeY2K_ClockWnd(const QString& parameter);

} // namespace ven
