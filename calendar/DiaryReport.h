// The diary reports: one family over the diary entries of a category inside
// a window of begin and end moments, grouped by day, with one detail band
// per entry. Each report (DiaryPhoRp, DiaryProRp, DiaryNotRp, DiaryMemRp,
// DiaryExtRp) gives its title, detail band and per-entry values; the
// parameters, filter, orders, page header and day groups are the family's.
//
// GUI thread only. Parameters: "order,category,begin date,begin time,end
// date,end time" as decimal texts.
#pragma once

#include "calendar/DiaryPeriod.h"
#include "platform/BatchProcess.h"

#include <memory>

namespace ven {

struct DiaryReportSpec {
    const char* procedure;
    const char* title;      // letter-spaced in the page header
    const BandDef* detail;
    bool programDays = false;  // extra events: a day runs from 06:00 to 06:00
    // The report's own values for an entry before its band prints; `own`
    // holds the report's reading instances of other files (VenNam).
    void (*values)(Report& report, const Record& entry, Context& own) = nullptr;
};

// The period a report's parameters give, filled and repaired: a blank
// begin date is today, blank times the programme day's 06:00 to 06:00.
DiaryPeriod reportPeriod(const QString& parameters, int32_t today);
// The key of an order "1".."4"; -1 (stored order) for any other.
int reportOrderKey(int64_t order);
// The day an entry belongs to: its begin date; for programme days, the day
// before when it begins before 06:00.
int32_t reportDayOf(const Record& entry, bool programDays);
// The duration from begin to end in whole minutes (rounded up) as "h.mm",
// hours past 24 as they are; blank without an end or when it is not after the begin.
QString durationText(const Record& entry);
// "Weekday yyyy-mm-dd".
QString reportDayLine(int32_t day);

std::unique_ptr<WindowController> makeDiaryReport(const DiaryReportSpec& spec, const QString& parameters);

// The values the entry bands of the reports share: "Duration".
void setDurationValue(Report& report, const Record& entry, Context& own);

} // namespace ven
