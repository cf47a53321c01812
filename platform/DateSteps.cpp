// Month and year steps of day numbers, with the day carried forward.
#include "platform/DateSteps.h"

#include <algorithm>

namespace ven {

int32_t clampDay(int64_t day, int32_t low, int32_t high)
{
    return int32_t(std::clamp<int64_t>(day, low, high));
}

int32_t carriedDate(int64_t year, int64_t month, int64_t day)
{
    // Months as a count from year 0, so that month 0 is December before.
    int64_t total = year * 12 + (month - 1);
    int64_t y = total >= 0 ? total / 12 : -((-total + 11) / 12);
    const int64_t m = total - y * 12 + 1;
    // Years far outside the valid days only need to land outside them.
    if (y < 1800)
        return kFirstDay;
    if (y > 10000)
        return kLastDay;
    const int64_t first = dayNumberUnchecked(std::chrono::year(int(y)) / std::chrono::month(unsigned(m)) / 1);
    return clampDay(first + day - 1);
}

int32_t addMonths(int32_t date, int64_t months)
{
    const auto ymd = calendarDateUnchecked(date);
    return carriedDate(int(ymd.year()), int64_t(unsigned(ymd.month())) + months, unsigned(ymd.day()));
}

} // namespace ven
