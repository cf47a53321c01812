// Day numbers, time values and the packed TIME form.
#include "platform/DateTime.h"

#include <QDateTime>

namespace ven {

namespace {
using namespace std::chrono;
// sys_days of 1 January 1801 minus the day number it has.
const sys_days kDayZero = sys_days(year(1801) / January / 1) - days(kFirstDay);
} // namespace

int32_t dayNumberUnchecked(year_month_day date)
{
    return static_cast<int32_t>((sys_days(date) - kDayZero).count());
}

year_month_day calendarDateUnchecked(int32_t day)
{
    return year_month_day(kDayZero + days(day));
}

int32_t dayNumber(year_month_day date)
{
    if (!date.ok())
        return kNoDate;
    int32_t day = dayNumberUnchecked(date);
    return isValidDay(day) ? day : kNoDate;
}

int32_t dayNumber(int y, int m, int d)
{
    if (m < 1 || m > 12 || d < 1 || d > 31 || y < 1801 || y > 9999)
        return kNoDate;
    return dayNumber(year(y) / month(unsigned(m)) / unsigned(d));
}

int32_t dayNumber(const QDate& date)
{
    return date.isValid() ? dayNumber(date.year(), date.month(), date.day()) : kNoDate;
}

int32_t dayNumber(const QDateTime& moment)
{
    return dayNumber(moment.date());
}

std::optional<year_month_day> calendarDate(int32_t day)
{
    if (!isValidDay(day))
        return std::nullopt;
    return calendarDateUnchecked(day);
}

int weekday(int32_t day)
{
    return isValidDay(day) ? day % 7 : -1;
}

int32_t timeValue(int hours, int minutes, int seconds, int hundredths)
{
    if (hours < 0 || hours > 23 || minutes < 0 || minutes > 59 || seconds < 0 || seconds > 59
        || hundredths < 0 || hundredths > 99)
        return kNoTime;
    return ((hours * 60 + minutes) * 60 + seconds) * 100 + hundredths + 1;
}

int32_t timeValue(const QTime& time)
{
    return time.isValid() ? time.msecsSinceStartOfDay() / 10 + 1 : kNoTime;
}

int32_t timeValue(const QDateTime& moment)
{
    return timeValue(moment.time());
}

std::optional<TimeParts> timeParts(int32_t time)
{
    if (!isValidTime(time))
        return std::nullopt;
    int32_t h = time - 1;
    return TimeParts{h / 360000, (h / 6000) % 60, (h / 100) % 60, h % 100};
}

uint32_t packTime(int32_t time)
{
    auto t = timeParts(time);
    if (!t)
        return 0;
    return uint32_t(t->hundredths) | (uint32_t(t->seconds) << 8) | (uint32_t(t->minutes) << 16)
         | (uint32_t(t->hours) << 24);
}

int32_t unpackTime(uint32_t packed)
{
    if (packed == 0)
        return kNoTime;
    int cc = packed & 0xff, ss = (packed >> 8) & 0xff, mm = (packed >> 16) & 0xff, hh = (packed >> 24) & 0xff;
    return timeValue(hh, mm, ss, cc);
}

} // namespace ven
