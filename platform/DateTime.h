// Day numbers, time values and the packed four-byte TIME of the data files.
//
// A date is a day number: 1 January 1801 is day 4, 0 means no date, 2994626
// (31 December 9999) is the last valid day; day % 7 is the weekday, 0 Sunday.
// A time value is hundredths of a second since midnight plus one (1 midnight,
// 8640000 the last hundredth); 0 means no time. All functions are pure and
// may be called from any thread.
#pragma once
#include <chrono>
#include <cstdint>
#include <optional>

class QDate;
class QTime;
class QDateTime;

namespace ven {

inline constexpr int32_t kNoDate = 0;
inline constexpr int32_t kFirstDay = 4;
inline constexpr int32_t kLastDay = 2994626;
inline constexpr int32_t kNoTime = 0;
inline constexpr int32_t kLastTime = 8640000;

inline constexpr bool isValidDay(int32_t day) { return day >= kFirstDay && day <= kLastDay; }
inline constexpr bool isValidTime(int32_t time) { return time >= 1 && time <= kLastTime; }

// The day number of a calendar date; kNoDate when the date does not exist
// (31 February) or lies outside 1 January 1801 .. 31 December 9999.
int32_t dayNumber(std::chrono::year_month_day date);
int32_t dayNumber(int year, int month, int day);
int32_t dayNumber(const QDate& date);
int32_t dayNumber(const QDateTime& moment);

// The calendar date of a day number; nullopt when the day is not valid.
std::optional<std::chrono::year_month_day> calendarDate(int32_t day);

// The calendar date of any day number, valid or not (day 3 is 31 December
// 1800). For date arithmetic that may step just outside the valid range.
std::chrono::year_month_day calendarDateUnchecked(int32_t day);
// The day number of any existing calendar date, without the range check.
int32_t dayNumberUnchecked(std::chrono::year_month_day date);

// 0 Sunday .. 6 Saturday; -1 for a day that is not valid.
int weekday(int32_t day);

struct TimeParts {
    int hours = 0, minutes = 0, seconds = 0, hundredths = 0;
};
// The time value of a time of day; kNoTime when a part is out of range.
int32_t timeValue(int hours, int minutes, int seconds, int hundredths = 0);
int32_t timeValue(const QTime& time);
int32_t timeValue(const QDateTime& moment);
// The parts of a time value; nullopt when the value is not valid.
std::optional<TimeParts> timeParts(int32_t time);

// Packs a time value into the four bytes hundredths, seconds, minutes, hours
// (lowest byte first). Midnight (1) and no time (0) both pack to 0; values
// outside 1..8640000 pack to 0.
uint32_t packTime(int32_t time);
// The inverse of packTime: 0 (all four bytes zero) reads as no time.
int32_t unpackTime(uint32_t packed);

} // namespace ven
