// What a special day (VenDays) shows on a selected date: the count of days
// to it ("12 days to Xmas") on the days before it, or the day of it ("3rd
// day of Xmas") from the day itself on, each within its limit. The day
// calendar and the special-day list use these rules.
#pragma once

#include "platform/KeyedFile.h"

#include <QString>
#include <cstdint>
#include <optional>

namespace ven {

// DAY:SHOW: counted towards the day, from the day on, or both.
enum SpecialDayShow : uint8_t { ShowTo = 1, ShowFrom = 2, ShowBoth = 3 };

// The English ordinal suffix of a count: "st", "nd", "rd" or "th"
// (11, 12, 13 and 111, 112, 113 take "th").
QString ordinalSuffix(int64_t n);

// "To", "From" or "Both" by DAY:SHOW; blank for other values.
QString showName(int64_t show);

// The lines the record gives on `selected`: a "days to" line and, for
// "Both", a "day of" line (each only within its limit); none when the
// record does not show on that date.
struct SpecialDayLines {
    std::optional<QString> to, of;
};
SpecialDayLines specialDayLines(const Record& day, int32_t selected);

} // namespace ven
