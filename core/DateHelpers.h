// Shared date and path helpers: week numbers, month and weekday names, leap
// years, the fixed day number, Easter, Advent, the church-year day code and
// the path splitter. Pure functions; any thread may call them.
//
// Dates are day numbers (platform/DateTime.h). The date routines give 0 for
// a day that is not valid (outside 4 .. 2994626); the two name routines give
// "* Illegal Error *".
#pragma once
#include <QString>
#include <cstdint>

namespace ven {

// Weeks run Sunday to Saturday; week 1 is the week that holds the year's
// first Wednesday. Days before it belong to the last week of the previous
// year, late December days to week 1 when their week holds the next year's
// first Wednesday. 1..53.
uint8_t WeekNumber(int32_t date);
// "January" .. "December".
QString MonthName(int32_t date);
// "Sunday" .. "Saturday" by date % 7.
QString WeekdayName(int32_t date);
bool IsLeapYear(int32_t year);
// The fixed day number 1..366: the day of a common year; in a leap year
// 24 February is 366 and the days after it keep their common-year numbers.
uint16_t NameDayNumber(int32_t date);
// The Saturday before the First Sunday of Advent of the date's year.
int32_t AdventEve(int32_t date);
// Easter Sunday of the date's year (Gregorian).
int32_t EasterSunday(int32_t date);
// The church-year day code that keys the feast records; 0 when none.
uint8_t ChurchDayNumber(int32_t date);
inline int32_t MaxLong(int32_t a, int32_t b) { return a > b ? a : b; }
inline int32_t MinLong(int32_t a, int32_t b) { return a < b ? a : b; }

// Parts of a path; "\" and "/" both separate folders.
enum SplitPathPart : uint8_t { PathName = 1, PathExtension = 2, PathFolder = 3 };
// Part 1 the file name without its extension, 2 the extension without its
// dot, 3 the folder up to and including its last separator; with
// `withExtension` non-zero the file name with its extension, whatever
// `part` says. A path without a separator has no folder and is all file
// name. Each part is cut to 255 characters, trailing blanks removed.
QString SplitPath(uint8_t part, uint8_t withExtension, const QString& path);

// `folder` and `name` joined with one separator.
QString joinPath(const QString& folder, const QString& name);

} // namespace ven
