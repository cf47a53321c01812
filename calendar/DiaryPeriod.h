// The diary's period: a category and a window of begin and end moments, as
// the diary selection hands it to the browse and the browse to the reports;
// which entries it lists, and its parameters as decimal texts.
//
// Pure values; GUI thread like the windows that use them.
#pragma once

#include "platform/KeyedFile.h"

#include <QString>

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace ven {

// The category that lists every category.
inline constexpr uint8_t kAllCategories = 5;

// A day of extra events (television programmes) runs from 06:00 to 06:00:
// it begins at 06:00 itself and ends just before the next 06:00.
inline constexpr int32_t kProgramDayBegins = 2160001;
inline constexpr int32_t kProgramDayEnds = 2160000;

struct DiaryPeriod {
    uint8_t LCategory = kAllCategories;  // 0..4 one category of the diary, 5 all
    int32_t LBDate = 0, LBTime = 0;       // the window's begin: day number, time value
    int32_t LEDate = 0, LETime = 0;       // the window's end

    // Fills what is not above 0 (begin date: today, end date: the begin
    // date plus 1, the times: the given ones) and repairs a reversed
    // window: on one day an end time not after the begin time becomes the
    // day's last time; an end date before the begin date the begin date
    // plus 1.
    void repair(int32_t today, int32_t blankBeginTime, int32_t blankEndTime);

    // True when the window lists the VenDry entry: of the category (any for
    // 5) and beginning strictly between the window's dates, or on the begin
    // day from the begin time on, or on the end day up to the end time. A
    // begin time below 1 counts as midnight (1).
    bool lists(const Record& entry) const;
};

// Decimal texts joined by commas: "1,4,81234,1,81235,8640000".
QString joinParameters(std::initializer_list<int64_t> values);
// The first `count` numbers of a parameter text; a missing or non-numeric
// one reads 0.
std::vector<int64_t> splitParameters(const QString& text, size_t count);
// A period from its parameter text: category, begin date, begin time, end
// date, end time (an empty text: all categories, nothing filled in).
DiaryPeriod periodFromParameters(const QString& text);
QString periodParameters(const DiaryPeriod& p);

} // namespace ven
