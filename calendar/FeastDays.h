// What the feast and memorial-day windows share: the day-and-month text of
// a memorial's day number, the rule that keeps a feast out of the key it
// could not be found by, and the import files of the reminder program
// (their names, the date of a memorial in a year, the lines).
#pragma once

#include "platform/KeyedFile.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <map>
#include <optional>

namespace ven {

// The languages and levels that the import files and renumbering handle.
inline constexpr int kSets = 10;

// The day number's day and month in the common year 1999 as DDMM: 59 is
// "2802", 60 "0103", 366 "0101".
QString memorialDayMonth(int64_t dayNo);

// A feast of code 0 in language 0 has all its key fields zero, so the
// optional key leaves it out and no list or lookup by key could find it.
// True when the record may be stored; otherwise the user has been told.
bool feastKeyUsable(const Record& feast);

// The import file names: the year, "Lit" or "Mem", the language or level
// (in full, so 12 gives "2025Mem12.inp") and ".inp".
QString feastImportFile(int year, int language);
QString memorialImportFile(int year, int level);

// The date of a memorial's day number in `year`: in a leap year 366 is
// 24 February and 55..365 fall a day later than in a common year; in a
// common year 366 has no day (none, rather than a date of the next year).
std::optional<int32_t> memorialDate(int year, int64_t dayNo);

// One import line: "U", the year's last two digits, month, day, "00",
// "00" and the text, separated by "þ" (0xFE in Western text).
QString importLine(int32_t date, const QString& text);

// The feast lines of one language for `year`: a line for every date whose
// church-year day code has a name in `names` (code -> name), in date order.
QStringList feastImportLines(int year, const std::map<uint8_t, QString>& names);

} // namespace ven
