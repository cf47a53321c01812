// Date steps shared by the date picker and the date fields: whole days,
// months and years, a day that the target month lacks carried into the
// next month, every result held within the valid days.
#pragma once

#include "platform/DateTime.h"

#include <cstdint>

namespace ven {

// `day` held within low..high (by default the valid days 4 .. 2994626).
int32_t clampDay(int64_t day, int32_t low = kFirstDay, int32_t high = kLastDay);
// The date of `day` in `month` of `year`; a month outside 1..12 carries
// into the years around, a day past the month's end into the next month
// (31 February 2023 is 3 March). Held within the valid days.
int32_t carriedDate(int64_t year, int64_t month, int64_t day);
// The same day `months` months later (earlier when negative), carried as
// carriedDate does: 31 January plus one month is 3 March in a common year,
// 29 February plus twelve months is 1 March.
int32_t addMonths(int32_t date, int64_t months);

} // namespace ven
