// Day numbers, time values and the clock.
#include "platform/Clock.h"
#include "platform/DateTime.h"

#include <QDateTime>
#include <cstdlib>
#include <gtest/gtest.h>

using namespace ven;

// Expected day numbers counted independently from 1 January 1801 = day 4.
TEST(DateTime, DayNumbersAndWeekdays)
{
    struct Case { int y, m, d; int32_t day; int weekday; };
    const Case cases[] = {
        {1801, 1, 1, 4, 4},          // Thursday
        {1900, 1, 1, 36163, 1},      // Monday
        {2000, 9, 12, 72942, 2},     // Tuesday
        {2026, 12, 9, 82526, 3},     // Wednesday
        {2099, 12, 31, 109211, 4},   // Thursday
        {9999, 12, 31, 2994626, 5},  // Friday, the last day
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.day);
        EXPECT_EQ(dayNumber(c.y, c.m, c.d), c.day);
        EXPECT_EQ(dayNumber(QDate(c.y, c.m, c.d)), c.day);
        EXPECT_EQ(weekday(c.day), c.weekday);
        auto date = calendarDate(c.day);
        ASSERT_TRUE(date);
        EXPECT_EQ(int(date->year()), c.y);
        EXPECT_EQ(unsigned(date->month()), unsigned(c.m));
        EXPECT_EQ(unsigned(date->day()), unsigned(c.d));
    }
}

TEST(DateTime, InvalidDatesGiveNoDate)
{
    EXPECT_EQ(dayNumber(2026, 2, 31), kNoDate);
    EXPECT_EQ(dayNumber(2023, 2, 29), kNoDate);
    EXPECT_EQ(dayNumber(1800, 12, 31), kNoDate);
    EXPECT_EQ(dayNumber(10000, 1, 1), kNoDate);
    EXPECT_EQ(dayNumber(2026, 13, 1), kNoDate);
    EXPECT_EQ(dayNumber(QDate()), kNoDate);
    for (int32_t day : {0, 3, -5, kLastDay + 1}) {
        EXPECT_FALSE(calendarDate(day)) << day;
        EXPECT_EQ(weekday(day), -1) << day;
    }
    EXPECT_EQ(dayNumber(2024, 2, 29) + 1, dayNumber(2024, 3, 1));
}

TEST(DateTime, TimeValues)
{
    EXPECT_EQ(timeValue(0, 0, 0), 1);
    EXPECT_EQ(timeValue(23, 59, 59, 99), kLastTime);
    EXPECT_EQ(timeValue(15, 12, 48, 84), 5476885);
    EXPECT_EQ(timeValue(24, 0, 0), kNoTime);
    EXPECT_EQ(timeValue(8, 60, 0), kNoTime);
    EXPECT_EQ(timeValue(QTime(8, 15, 2, 340)), timeValue(8, 15, 2, 34));
    auto parts = timeParts(5476885);
    ASSERT_TRUE(parts);
    EXPECT_EQ(parts->hours, 15);
    EXPECT_EQ(parts->minutes, 12);
    EXPECT_EQ(parts->seconds, 48);
    EXPECT_EQ(parts->hundredths, 84);
    EXPECT_FALSE(timeParts(0));
    EXPECT_FALSE(timeParts(kLastTime + 1));
    EXPECT_EQ(unpackTime(packTime(5476885)), 5476885);
    EXPECT_EQ(packTime(kLastTime + 1), 0u);
}

TEST(Clock, FakeClockReplacesTheSystemClock)
{
    FakeClock fake(QDateTime(QDate(2026, 12, 9), QTime(23, 59, 59)));
    setClock(&fake);
    EXPECT_EQ(ven::clock().today(), 82526);
    EXPECT_EQ(ven::clock().time(), timeValue(23, 59, 59));
    fake.advance(1000);
    EXPECT_EQ(ven::clock().today(), 82527);
    EXPECT_EQ(ven::clock().time(), 1);
    setClock(nullptr);
    EXPECT_LE(std::abs(ven::clock().today() - dayNumber(QDate::currentDate())), 1);  // midnight may pass
}
