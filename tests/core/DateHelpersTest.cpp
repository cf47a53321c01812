// Week numbers, names, fixed day numbers, Easter, Advent, church-year codes
// and the path splitter.
#include "core/DateHelpers.h"
#include "platform/DateTime.h"

#include <gtest/gtest.h>

#include <set>

using namespace ven;

namespace {
int32_t D(int y, int m, int d)
{
    int32_t day = dayNumber(y, m, d);
    EXPECT_NE(day, kNoDate) << y << "-" << m << "-" << d;
    return day;
}
int yearOf(int32_t day) { return int(calendarDate(day)->year()); }
} // namespace

TEST(DateHelpers, WeekNumbersAtYearEnds)
{
    struct Case { int y, m, d; int week; };
    const Case cases[] = {
        {2023, 1, 1, 1},    // a Sunday
        {2022, 1, 1, 52},   // a Saturday: the last week of 2021
        {2021, 1, 1, 53},   // a Friday: the last week of 2020
        {2020, 12, 31, 53}, // a Thursday
        {2024, 12, 29, 1},  // a Sunday; 1 January 2025 is a Wednesday
        {2024, 12, 31, 1},
        {2025, 12, 28, 53}, // 1 January 2026 is a Thursday
        {2026, 2, 1, 5},
        {2026, 12, 9, 49},
        {2000, 9, 12, 37},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WeekNumber(D(c.y, c.m, c.d)), c.week) << c.y << "-" << c.m << "-" << c.d;
}

// Every day of 1900..2099 against the rule stated plainly: a Sunday-to-
// Saturday week belongs to the year of its Wednesday and is numbered from
// that year's first Wednesday.
TEST(DateHelpers, WeekNumberFollowsTheWednesdayRule)
{
    for (int32_t day = D(1900, 1, 1); day <= D(2099, 12, 31); ++day) {
        int32_t wednesday = day - day % 7 + 3;
        int32_t jan1 = D(yearOf(wednesday), 1, 1);
        int32_t firstWednesday = jan1 + (3 - jan1 % 7 + 7) % 7;
        ASSERT_EQ(WeekNumber(day), (wednesday - firstWednesday) / 7 + 1) << day;
    }
    EXPECT_EQ(WeekNumber(kFirstDay), 53);  // 1 January 1801, a Thursday: last week of 1800
    EXPECT_GE(WeekNumber(kLastDay), 1);
    EXPECT_EQ(WeekNumber(0), 0);
}

TEST(DateHelpers, NamesAndLeapYears)
{
    for (int32_t bad : {0, 1, -3, kLastDay + 1}) {
        EXPECT_EQ(MonthName(bad), "* Illegal Error *");
        EXPECT_EQ(WeekdayName(bad), "* Illegal Error *");
    }
    EXPECT_EQ(MonthName(4), "January");
    EXPECT_EQ(WeekdayName(4), "Thursday");
    EXPECT_EQ(MonthName(D(2026, 12, 9)), "December");
    EXPECT_EQ(WeekdayName(D(2026, 12, 9)), "Wednesday");
    EXPECT_EQ(WeekdayName(D(2023, 1, 1)), "Sunday");
    EXPECT_EQ(MonthName(D(2024, 2, 29)), "February");
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_TRUE(IsLeapYear(2024));
    EXPECT_FALSE(IsLeapYear(2023));
    EXPECT_FALSE(IsLeapYear(2100));
}

TEST(DateHelpers, NameDayNumbers)
{
    struct Case { int y, m, d; int number; };
    const Case cases[] = {
        {2024, 2, 24, 366}, {2024, 2, 25, 55}, {2023, 2, 24, 55}, {2024, 2, 29, 59}, {2024, 2, 23, 54},
        {2024, 3, 1, 60},   {2023, 3, 1, 60},  {2024, 12, 31, 365}, {2023, 1, 1, 1}, {2023, 12, 31, 365},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NameDayNumber(D(c.y, c.m, c.d)), c.number) << c.y << "-" << c.m << "-" << c.d;
    // Each year uses every number once: 1..365, and 366 in leap years; and a
    // month and day keep their number from year to year.
    for (int y : {1900, 2023, 2024, 2100, 2400}) {
        std::set<int> seen;
        for (int32_t day = D(y, 1, 1); day <= D(y, 12, 31); ++day) {
            seen.insert(NameDayNumber(day));
            auto date = calendarDate(day);
            if (!(date->month() == std::chrono::February && unsigned(date->day()) >= 24)) {
                ASSERT_EQ(NameDayNumber(day), NameDayNumber(D(2023, unsigned(date->month()), unsigned(date->day()))));
            }
        }
        EXPECT_EQ(int(seen.size()), IsLeapYear(y) ? 366 : 365) << y;
        EXPECT_EQ(*seen.begin(), 1);
        EXPECT_EQ(*seen.rbegin(), IsLeapYear(y) ? 366 : 365);
    }
    EXPECT_EQ(NameDayNumber(0), 0);
}

// Expected dates from an independent Gregorian computus.
TEST(DateHelpers, EasterAcrossCenturies)
{
    struct Case { int y, m, d; };
    const Case cases[] = {
        {2000, 4, 23}, {2023, 4, 9},  {2024, 3, 31}, {1954, 4, 18}, {1981, 4, 19}, {2049, 4, 18},
        {2076, 4, 19}, {1801, 4, 5},  {1818, 3, 22}, {1886, 4, 25}, {1900, 4, 15}, {2100, 3, 28},
        {2285, 3, 22}, {2400, 4, 16}, {9999, 3, 28},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EasterSunday(D(c.y, 6, 1)), D(c.y, c.m, c.d)) << c.y;
        EXPECT_EQ(EasterSunday(D(c.y, 1, 1)), EasterSunday(D(c.y, 12, 31))) << c.y;
    }
    for (int y = 1801; y <= 9999; ++y) {
        int32_t easter = EasterSunday(D(y, 1, 1));
        ASSERT_EQ(easter % 7, 0) << y;
        ASSERT_GE(easter, D(y, 3, 22)) << y;
        ASSERT_LE(easter, D(y, 4, 25)) << y;
    }
    EXPECT_EQ(EasterSunday(0), kNoDate);
}

TEST(DateHelpers, AdventEve)
{
    EXPECT_EQ(AdventEve(D(2023, 1, 1)), D(2023, 12, 2));
    EXPECT_EQ(AdventEve(D(2023, 12, 31)), D(2023, 12, 2));
    EXPECT_EQ(AdventEve(D(2024, 6, 1)), D(2024, 11, 30));
    EXPECT_EQ(AdventEve(D(1801, 1, 1)), D(1801, 11, 28));
    EXPECT_EQ(AdventEve(D(1900, 1, 1)), D(1900, 12, 1));
    EXPECT_EQ(AdventEve(D(2100, 1, 1)), D(2100, 11, 27));
    EXPECT_EQ(AdventEve(kLastDay), D(9999, 11, 27));
    for (int y = 1801; y <= 9999; y += 7) {
        int32_t firstSunday = AdventEve(D(y, 7, 1)) + 1;
        ASSERT_EQ(firstSunday % 7, 0) << y;
        ASSERT_GE(firstSunday, D(y, 11, 27)) << y;
        ASSERT_LE(firstSunday, D(y, 12, 3)) << y;
    }
}

TEST(DateHelpers, ChurchDayNumbers)
{
    struct Case { int y, m, d; int code; };
    const Case cases[] = {
        {2023, 1, 1, 35},   {2023, 1, 8, 36},   {2023, 2, 19, 1},   {2023, 2, 22, 2},  {2023, 4, 9, 12},
        {2023, 4, 10, 13},  {2023, 5, 18, 19},  {2023, 5, 28, 21},  {2023, 6, 18, 45}, {2023, 11, 26, 26},
        {2023, 12, 3, 27},  {2023, 12, 24, 30}, {2023, 12, 25, 32}, {2023, 12, 26, 33}, {2023, 12, 31, 73},
        {2023, 7, 11, 0},   {2023, 7, 12, 0},   {2018, 12, 24, 31}, {2018, 12, 23, 30}, {2024, 12, 29, 34},
        {2024, 3, 10, 6},   {2024, 3, 28, 9},   {2024, 3, 29, 10},  {2024, 3, 30, 11},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChurchDayNumber(D(c.y, c.m, c.d)), c.code) << c.y << "-" << c.m << "-" << c.d;
    EXPECT_EQ(ChurchDayNumber(0), 0);
}

TEST(DateHelpers, SplitPath)
{
    struct Case { const char* path; const char* name; const char* ext; const char* folder; const char* full; };
    const Case cases[] = {
        {"C:\\Sounds\\Bell.wav", "Bell", "wav", "C:\\Sounds\\", "Bell.wav"},
        {"C:\\Docs\\My.File.txt", "My.File", "txt", "C:\\Docs\\", "My.File.txt"},
        {"/home/ven/sounds/Bell.wav", "Bell", "wav", "/home/ven/sounds/", "Bell.wav"},
        {"/home/ven/My.Notes/README", "README", "", "/home/ven/My.Notes/", "README"},
        {"C:\\Notes", "Notes", "", "C:\\", "Notes"},
        {"C:\\Notes\\", "", "", "C:\\Notes\\", ""},
        {"Bell.wav", "Bell", "wav", "", "Bell.wav"},
        {"C:\\Snd\\Bell .wav  ", "Bell", "wav", "C:\\Snd\\", "Bell.wav"},
        {"", "", "", "", ""},
    };
    for (const Case& c : cases) {
        QString path = QString::fromLatin1(c.path);
        EXPECT_EQ(SplitPath(PathName, 0, path), c.name) << c.path;
        EXPECT_EQ(SplitPath(PathExtension, 0, path), c.ext) << c.path;
        EXPECT_EQ(SplitPath(PathFolder, 0, path), c.folder) << c.path;
        EXPECT_EQ(SplitPath(0, 1, path), c.full) << c.path;
        EXPECT_EQ(SplitPath(PathFolder, 1, path), c.full) << c.path;
    }
    EXPECT_EQ(SplitPath(PathName, 0, QString(300, u'a') + ".txt").size(), 255);
    EXPECT_EQ(joinPath("/notes", "Vendrolix.log"), "/notes/Vendrolix.log");
    EXPECT_EQ(joinPath("/notes/", "Vendrolix.log"), "/notes/Vendrolix.log");
}
