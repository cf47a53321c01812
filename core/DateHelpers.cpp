// Date and path helpers shared by every window.
#include "core/DateHelpers.h"

#include "platform/DateTime.h"

#include <array>

namespace ven {

namespace {

using namespace std::chrono;

const QString kIllegal = QStringLiteral("* Illegal Error *");

int yearOf(int32_t day) { return int(calendarDateUnchecked(day).year()); }
int32_t dayOf(int y, unsigned m, unsigned d) { return dayNumberUnchecked(year(y) / month(m) / d); }

// The weekday of any day number, also of those before day 0.
int mod7(int32_t day) { return ((day % 7) + 7) % 7; }

// Step 1 of the week rule: the week within the date's own year, 0 for the
// days before week 1.
int weekInYear(int32_t date)
{
    int32_t jan1 = dayOf(yearOf(date), 1, 1);
    int w1 = mod7(jan1);
    int32_t n = date - jan1 + 7 + w1 - (w1 > 3 ? 7 : 0) - mod7(date);
    return n / 7;
}

// The church-year codes that fall on a day at a fixed distance from Easter
// (E), from the Advent eve (A) or from Christmas (X), in the order they are
// tried.
enum class Base { Easter, Advent, Christmas };
struct ChurchDay {
    uint8_t code;
    Base base;
    int offset;
};
constexpr ChurchDay kChurchDays[] = {
    {1, Base::Easter, -49},  {2, Base::Easter, -46},  {3, Base::Easter, -42},  {4, Base::Easter, -35},
    {5, Base::Easter, -28},  {6, Base::Easter, -21},  {7, Base::Easter, -14},  {8, Base::Easter, -7},
    {9, Base::Easter, -3},   {10, Base::Easter, -2},  {11, Base::Easter, -1},  {12, Base::Easter, 0},
    {13, Base::Easter, 1},   {14, Base::Easter, 7},   {15, Base::Easter, 14},  {16, Base::Easter, 21},
    {17, Base::Easter, 28},  {18, Base::Easter, 35},  {19, Base::Easter, 39},  {20, Base::Easter, 42},
    {21, Base::Easter, 49},  {22, Base::Easter, 56},  {23, Base::Easter, 63},  {24, Base::Easter, 68},
    {25, Base::Easter, 69},  {26, Base::Advent, -6},  {27, Base::Advent, 1},   {28, Base::Advent, 8},
    {29, Base::Advent, 15},  {30, Base::Advent, 22},  {31, Base::Christmas, -1}, {32, Base::Christmas, 0},
    {33, Base::Christmas, 1},
};
constexpr uint8_t kChristmasSunday = 34;
constexpr uint8_t kOrdinarySundays = 34;  // + the count of Sundays outside Lent and Easter

// The number of Sundays in first .. last (day numbers, first >= 1).
int32_t sundaysIn(int32_t first, int32_t last)
{
    return last < first ? 0 : last / 7 - (first - 1) / 7;
}

QString trimmedEnd(QString s)
{
    s.truncate(255);
    qsizetype n = s.size();
    while (n > 0 && s[n - 1] == u' ')
        --n;
    s.truncate(n);
    return s;
}

} // namespace

uint8_t WeekNumber(int32_t date)
{
    if (!isValidDay(date))
        return 0;
    int y = yearOf(date);
    int week = weekInYear(date);
    if (week == 0)
        return uint8_t(weekInYear(dayOf(y - 1, 12, 31)));
    if (week > 51) {
        int32_t nextJan1 = dayOf(y + 1, 1, 1);
        int32_t d = nextJan1 - date;
        if (mod7(nextJan1) < 4 && d > 0 && d < 7 - mod7(date))
            return 1;
    }
    return uint8_t(week);
}

QString MonthName(int32_t date)
{
    static const std::array<QString, 12> names = {
        QStringLiteral("January"), QStringLiteral("February"), QStringLiteral("March"),
        QStringLiteral("April"),   QStringLiteral("May"),      QStringLiteral("June"),
        QStringLiteral("July"),    QStringLiteral("August"),   QStringLiteral("September"),
        QStringLiteral("October"), QStringLiteral("November"), QStringLiteral("December")};
    auto d = calendarDate(date);
    return d ? names[unsigned(d->month()) - 1] : kIllegal;
}

QString WeekdayName(int32_t date)
{
    static const std::array<QString, 7> names = {
        QStringLiteral("Sunday"),   QStringLiteral("Monday"), QStringLiteral("Tuesday"),
        QStringLiteral("Wednesday"), QStringLiteral("Thursday"), QStringLiteral("Friday"),
        QStringLiteral("Saturday")};
    return isValidDay(date) ? names[date % 7] : kIllegal;
}

bool IsLeapYear(int32_t year)
{
    return year % 400 == 0 || (year % 100 != 0 && year % 4 == 0);
}

uint16_t NameDayNumber(int32_t date)
{
    auto d = calendarDate(date);
    if (!d)
        return 0;
    int y = int(d->year());
    int dayOfYear = date - dayOf(y, 1, 1) + 1;
    if (!IsLeapYear(y) || dayOfYear < 55)
        return uint16_t(dayOfYear);
    return uint16_t(dayOfYear == 55 ? 366 : dayOfYear - 1);
}

int32_t AdventEve(int32_t date)
{
    if (!isValidDay(date))
        return kNoDate;
    int32_t christmas = dayOf(yearOf(date), 12, 25);
    for (int32_t day = christmas - 20; day >= christmas - 30; --day)
        if (day % 7 == 0 && christmas - day > 21 && christmas - day <= 28)
            return day - 1;
    return kNoDate;  // not reached: one Sunday lies 22 to 28 days before 25 December
}

int32_t EasterSunday(int32_t date)
{
    if (!isValidDay(date))
        return kNoDate;
    // Gauss's rule; M and N follow from the century (24 and 5 for 1900-2099).
    int y = yearOf(date);
    int k = y / 100, p = (13 + 8 * k) / 25, q = k / 4;
    int m = (15 - p + k - q) % 30, n = (4 + k - q) % 7;
    int a = y % 19, b = y % 4, c = y % 7;
    int d = (19 * a + m) % 30;
    int e = (2 * b + 4 * c + 6 * d + n) % 7;
    if (d == 29 && e == 6)
        return dayOf(y, 4, 19);
    if (d == 28 && e == 6 && a > 10)
        return dayOf(y, 4, 18);
    return dayOf(y, 3, 1) + 21 + d + e;  // 22 + d + e March, running on into April
}

uint8_t ChurchDayNumber(int32_t date)
{
    if (!isValidDay(date))
        return 0;
    int y = yearOf(date);
    int32_t easter = EasterSunday(date), advent = AdventEve(date), christmas = dayOf(y, 12, 25);
    for (const ChurchDay& c : kChurchDays) {
        int32_t base = c.base == Base::Easter ? easter : c.base == Base::Advent ? advent : christmas;
        if (date == base + c.offset)
            return c.code;
    }
    if (date % 7 != 0)
        return 0;
    if (date > christmas && date < dayOf(y, 12, 31))
        return kChristmasSunday;
    // Sundays from 1 January up to this one, leaving out Ash Wednesday to
    // Pentecost.
    int32_t jan1 = dayOf(y, 1, 1);
    int32_t count = sundaysIn(jan1, date) - sundaysIn(MaxLong(jan1, easter - 46), MinLong(date, easter + 49));
    return uint8_t(kOrdinarySundays + count);
}

QString SplitPath(uint8_t part, uint8_t withExtension, const QString& path)
{
    qsizetype slash = qMax(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
    QString fileName = path.mid(slash + 1);
    qsizetype dot = fileName.lastIndexOf(u'.');
    QString name = trimmedEnd(dot < 0 ? fileName : fileName.left(dot));
    QString extension = trimmedEnd(dot < 0 ? QString() : fileName.mid(dot + 1));
    if (withExtension)
        return dot < 0 ? name : name + u'.' + extension;
    switch (part) {
    case PathName: return name;
    case PathExtension: return extension;
    case PathFolder: return trimmedEnd(path.left(slash + 1));
    default: return {};
    }
}

QString joinPath(const QString& folder, const QString& name)
{
    if (folder.isEmpty() || folder.endsWith(u'/') || folder.endsWith(u'\\'))
        return folder + name;
    return folder + u'/' + name;
}

} // namespace ven
