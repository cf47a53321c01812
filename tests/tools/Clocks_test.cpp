// The clocks: the countdown's span and lines by (now, target), its target
// from the settings, the analog clock's hand ends by time, the digital
// clock's hops, and how each closes and whether it asks the frame back.
#include "WindowKit.h"

#include "core/AlarmScan.h"
#include "core/Globals.h"
#include "platform/DateTime.h"
#include "platform/Ini.h"
#include "tools/AnalogClockWnd.h"
#include "tools/TimeDisplayWnd.h"
#include "tools/Y2K_ClockWnd.h"

#include <QContextMenuEvent>
#include <QTest>

#include <set>

namespace ven::test {
namespace {

int32_t day(int y, int m, int d) { return dayNumber(y, m, d); }
int32_t at(int h, int m, int s = 0, int hundredths = 0) { return timeValue(h, m, s, hundredths); }

void doubleClick(WindowKit& kit, const QString& procedure, const QString& name)
{
    QWidget* w = kit.control(procedure, name).widget();
    if (auto* scroll = qobject_cast<QAbstractScrollArea*>(w))
        w = scroll->viewport();
    QTest::mouseDClick(w, Qt::LeftButton, {}, QPoint(5, 5));
    kit.settle();
}

void rightClick(WindowKit& kit, const QString& procedure, const QString& name)
{
    QWidget* w = kit.control(procedure, name).widget();
    QContextMenuEvent e(QContextMenuEvent::Mouse, QPoint(5, 5), w->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(w, &e);
    kit.settle();
}

// ------------------------------------------------------------ countdown --

struct SpanCase {
    const char* what;
    int32_t today, now, targetDate, targetTime;
    const char* span;   // line 1: y-m-d  h:m:s
    int64_t totalDays;
};

TEST(Countdown, LinesByNowAndTarget)
{
    const SpanCase cases[] = {
        {"today, two hours ahead", day(2026, 12, 9), at(10, 0), day(2026, 12, 9), at(12, 0), "00-00-00  02:00:00", 0},
        {"tomorrow, earlier in the day", day(2026, 12, 9), at(10, 0), day(2026, 12, 10), at(8, 0), "00-00-00  22:00:00", 0},
        {"tomorrow, later in the day", day(2026, 12, 9), at(10, 0), day(2026, 12, 10), at(12, 0), "00-00-01  02:00:00", 1},
        {"a month ahead", day(2026, 1, 10), at(10, 0), day(2026, 2, 10), at(12, 0), "00-01-00  02:00:00", 31},
        {"a month ahead, earlier", day(2026, 1, 10), at(10, 0), day(2026, 2, 10), at(8, 0), "00-00-30  22:00:00", 30},
        {"behind", day(2026, 2, 10), at(8, 0), day(2026, 1, 10), at(10, 0), "00-00-30  22:00:00", 30},
        {"equal to the second", day(2026, 12, 9), at(10, 0, 0, 40), day(2026, 12, 9), at(10, 0), "00-00-00  00:00:00", 0},
        // One borrow from February leaves -3 days: borrowing goes on into January.
        {"behind across a short month", day(2026, 3, 1), at(9, 0), day(2026, 1, 31), at(10, 0), "00-00-28  23:00:00", 28},
        // The hundredths of now do not make a whole-second span a second short.
        {"now with hundredths", day(2026, 12, 9), at(10, 0, 0, 50), day(2026, 12, 9), at(12, 0), "00-00-00  02:00:00", 0},
        {"years since the default target", day(2026, 12, 9), at(10, 0), day(2001, 1, 1), 1, "25-11-08  10:00:00", 9473},
        {"a century shows ##", day(2026, 12, 9), at(10, 0), day(1901, 1, 1), 1, "##-11-08  10:00:00", 45998},
    };
    for (const SpanCase& c : cases) {
        const CountdownSpan s = countdownSpan(c.today, c.now, c.targetDate, c.targetTime);
        const QStringList lines = countdownLines(s);
        EXPECT_EQ(lines[0], c.span) << c.what;
        EXPECT_EQ(s.totalDays, c.totalDays) << c.what;
        EXPECT_GE(s.days, 0) << c.what;
        EXPECT_GE(s.months, 0) << c.what;
    }
}

TEST(Countdown, TotalsRightAlignedAndBeyondThirtyTwoBits)
{
    const QStringList lines = countdownLines(countdownSpan(day(2026, 12, 9), at(10, 0), day(2026, 12, 10), at(12, 0)));
    EXPECT_EQ(lines[1], "         1  02:00:00");
    EXPECT_EQ(lines[2], QString("26").rightJustified(14) + ":00:00");
    EXPECT_EQ(lines[3], QString("1 560").rightJustified(14) + ":00");
    EXPECT_EQ(lines[4], QString("93 600").rightJustified(14));
    // 80 years of seconds exceed 32 bits; the totals stay right.
    const CountdownSpan far = countdownSpan(day(2026, 12, 9), at(10, 0), day(2106, 12, 9), at(10, 0));
    EXPECT_EQ(far.totalDays, 29219);
    EXPECT_EQ(countdownLines(far)[4], QString("2 524 521 600").rightJustified(14));
}

TEST(Countdown, TargetFromTheSettings)
{
    WindowKit kit;
    const QString ini = kit.ini();
    const CountdownTarget byDefault = countdownTarget(ini);  // no settings file
    EXPECT_EQ(byDefault.date, day(2001, 1, 1));
    EXPECT_EQ(byDefault.time, 1);
    struct Setting {
        QString date;
        QString time;
        int32_t wantDate, wantTime;
    };
    const Setting settings[] = {
        {"", "", day(2001, 1, 1), 1},
        {"abc", "x", day(2001, 1, 1), 1},
        {"0", "0", day(2001, 1, 1), 1},
        {"99999999", "9999999", day(2001, 1, 1), 1},  // numeric but no date or time
        {"-5", "-1", day(2001, 1, 1), 1},
        {QString::number(day(2030, 5, 1)), QString::number(at(18, 30)), day(2030, 5, 1), at(18, 30)},
    };
    for (const Setting& s : settings) {
        ASSERT_TRUE(writeIni(ini, "Main", "Date", s.date));
        ASSERT_TRUE(writeIni(ini, "Main", "Time", s.time));
        const CountdownTarget t = countdownTarget(ini);
        EXPECT_EQ(t.date, s.wantDate) << s.date.toStdString();
        EXPECT_EQ(t.time, s.wantTime) << s.time.toStdString();
    }
}

TEST(Countdown, WindowShowsTheSpanAndClosesAfterTenMinutes)
{
    WindowKit kit(QDateTime(QDate(2026, 12, 9), QTime(10, 0)));
    ASSERT_TRUE(writeIni(kit.ini(), "Main", "Date", QString::number(day(2026, 12, 10))));
    ASSERT_TRUE(writeIni(kit.ini(), "Main", "Time", QString::number(at(12, 0))));
    NextAlarm.Pending = 0;
    RestoreRequested = 0;
    kit.start([] { return makeY2K_ClockWnd({}); });
    const QString w = "Y2K_ClockWnd";
    ASSERT_TRUE(kit.isOpen(w));
    EXPECT_EQ(kit.text(w, "Span"), "00-00-01  02:00:00");
    EXPECT_EQ(kit.text(w, "TargetDate"), "10-12-2026");
    EXPECT_EQ(kit.text(w, "TargetTime"), "12.00");
    EXPECT_EQ(kit.window(w).window().title(), "10.00.00  Wednesday 09 December 2026, Week 49");

    kit.wait(1000);
    EXPECT_EQ(kit.text(w, "Span"), "00-00-01  01:59:59");
    EXPECT_EQ(kit.window(w).window().title(), "10.00.01  Wednesday 09 December 2026, Week 49");
    EXPECT_EQ(kit.window(w).window().statusText(2), "No Alarms!");

    // A double click gives another ten minutes.
    kit.wait(500 * 1000);
    doubleClick(kit, w, "Face");
    kit.wait(500 * 1000);
    EXPECT_TRUE(kit.isOpen(w));
    kit.wait(100 * 1000);
    EXPECT_FALSE(kit.isOpen(w));
    EXPECT_EQ(RestoreRequested, 0);

    // Esc closes it without asking the frame back.
    kit.start([] { return makeY2K_ClockWnd({}); });
    ASSERT_TRUE(kit.isOpen(w));
    kit.key(w, Qt::Key_Escape);
    EXPECT_FALSE(kit.isOpen(w));
    EXPECT_EQ(RestoreRequested, 0);
}

// --------------------------------------------------------- analog clock --

struct HandCase {
    int32_t time;
    HandEnd hour, minute, second;
    int hourAngle, minuteAngle, secondAngle;
};

TEST(AnalogClock, HandEndsByTime)
{
    const HandCase cases[] = {
        {at(12, 0), {0, -56}, {0, -68}, {0, -72}, 270, 270, 270},
        {at(0, 0), {0, -56}, {0, -68}, {0, -72}, 270, 270, 270},
        {at(3, 0), {56, 0}, {0, -68}, {0, -72}, 0, 270, 270},
        {at(0, 0, 10), {0, -56}, {1, -68}, {62, -36}, 270, 271, 330},
        {at(0, 2), {1, -56}, {14, -67}, {0, -72}, 271, 282, 270},
        {at(9, 45, 30), {-52, -21}, {-68, -4}, {0, 72}, 202, 183, 90},
        {at(6, 0), {0, 56}, {0, -68}, {0, -72}, 90, 270, 270},
    };
    for (const HandCase& c : cases) {
        const ClockGeometry g = clockGeometry(c.time);
        const QString t = QString::number(c.time);
        EXPECT_EQ(g.hourAngle, c.hourAngle) << t.toStdString();
        EXPECT_EQ(g.minuteAngle, c.minuteAngle) << t.toStdString();
        EXPECT_EQ(g.secondAngle, c.secondAngle) << t.toStdString();
        EXPECT_EQ(g.hour, c.hour) << t.toStdString();
        EXPECT_EQ(g.minute, c.minute) << t.toStdString();
        EXPECT_EQ(g.second, c.second) << t.toStdString();
    }
}

TEST(AnalogClock, SpokesCoverAllSixtyDirectionsAtEverySecond)
{
    for (int s = 0; s < 60; ++s) {
        const ClockGeometry g = clockGeometry(at(10, 20, s));
        std::set<int> angles(g.spokeAngles.begin(), g.spokeAngles.end());
        ASSERT_EQ(angles.size(), 60u) << s;
        EXPECT_EQ(*angles.begin(), 0);
        EXPECT_EQ(*angles.rbegin(), 354);
        for (int j = 0; j < 60; ++j) {
            const HandEnd e = g.spokes[size_t(j)];
            EXPECT_NEAR(std::hypot(e.w, e.h), kSpoke, 1.0) << s << " " << j;
        }
    }
}

TEST(AnalogClock, MovesItsHandsAndClosesAsTheUserAsks)
{
    WindowKit kit(QDateTime(QDate(2026, 12, 9), QTime(3, 0)));
    const QString w = "AnalogClockWnd";
    RestoreRequested = 0;
    NextAlarm.Pending = 1;
    NextAlarmLine = "10:30 Dentist";
    kit.start([] { return makeAnalogClockWnd({}); });
    ASSERT_TRUE(kit.isOpen(w));
    EXPECT_EQ(kit.control(w, "Hour").lineSize(), QSize(56, 0));
    EXPECT_EQ(kit.control(w, "Second").lineSize(), QSize(0, -72));
    kit.wait(15 * 1000);
    EXPECT_EQ(kit.control(w, "Second").lineSize(), QSize(72, 0));
    EXPECT_EQ(kit.window(w).window().statusText(2), "10:30 Dentist");
    EXPECT_EQ(kit.window(w).window().title(), "03.00.15  Wednesday 09 December 2026, Week 49");
    NextAlarm.Pending = 0;

    // Esc, a right click, a double click, the button and the window
    // system's close (close box, Alt+F4) all ask the frame back.
    const std::function<void()> closings[] = {
        [&] { kit.window(w).window().outer()->close(); kit.settle(); },
        [&] { kit.key(w, Qt::Key_Escape); },
        [&] { rightClick(kit, w, "Face"); },
        [&] { doubleClick(kit, w, "Face"); },
        [&] { kit.press(w, "Close"); },
    };
    for (const auto& closeIt : closings) {
        RestoreRequested = 0;
        if (!kit.isOpen(w))  // the first closing takes the clock opened above
            kit.start([] { return makeAnalogClockWnd({}); });
        ASSERT_TRUE(kit.isOpen(w));
        closeIt();
        EXPECT_FALSE(kit.isOpen(w));
        EXPECT_EQ(RestoreRequested, 1);
    }
}

// -------------------------------------------------------- digital clock --

TEST(DigitalClock, HopsOnceAMinuteAtSecondZero)
{
    // Two ticks of 0.99 s fall in second 00 of 10:01.
    WindowKit kit(QDateTime(QDate(2026, 12, 9), QTime(10, 0, 59, 15)));
    const QString w = "TimeDisplayWnd";
    DateLine.clear();
    kit.start([] { return makeTimeDisplayWnd({}); });
    ASSERT_TRUE(kit.isOpen(w));
    EXPECT_EQ(kit.text(w, "CurrentTime"), "10:00:59");
    EXPECT_EQ(kit.text(w, "DateLine"), "Wednesday 09 December 2026, Week 49");
    const int opened = timeDisplayHops();
    EXPECT_EQ(opened, 1) << "it hops once as it opens";
    kit.wait(990);
    EXPECT_EQ(kit.text(w, "CurrentTime"), "10:01:00");
    kit.wait(990);
    EXPECT_EQ(kit.text(w, "CurrentTime"), "10:01:00");
    EXPECT_EQ(timeDisplayHops(), opened + 1);
    kit.wait(58 * 990);
    EXPECT_EQ(timeDisplayHops(), opened + 1);
    kit.wait(3 * 990);  // past 10:02:00
    EXPECT_EQ(timeDisplayHops(), opened + 2);
    const QRect area = kit.window(w).window().availableArea();
    EXPECT_TRUE(area.contains(kit.window(w).window().frameGeometry()));

    // Right and middle clicks hop at once and leave it open.
    rightClick(kit, w, "Face");
    QTest::mouseClick(kit.control(w, "CurrentTime").widget(), Qt::MiddleButton);
    kit.settle();
    EXPECT_EQ(timeDisplayHops(), opened + 4);
    EXPECT_TRUE(kit.isOpen(w));
}

TEST(DigitalClock, ClosedByTheUserItAsksTheFrameBack)
{
    WindowKit kit;
    const QString w = "TimeDisplayWnd";
    NextAlarmLine = "Next alarm: 10:30 Dentist";
    const std::function<void()> closings[] = {
        [&] { kit.key(w, Qt::Key_Escape); },
        [&] { kit.key(w, (Qt::ALT | Qt::Key_F4).toCombined()); },
        [&] { doubleClick(kit, w, "Face"); },
        [&] { doubleClick(kit, w, "NextAlarmLine"); },
        [&] { kit.window(w).window().outer()->close(); kit.settle(); },
    };
    for (const auto& closeIt : closings) {
        RestoreRequested = 0;
        kit.start([] { return makeTimeDisplayWnd({}); });
        ASSERT_TRUE(kit.isOpen(w));
        EXPECT_EQ(kit.text(w, "NextAlarmLine"), "Next alarm: 10:30 Dentist");
        closeIt();
        EXPECT_FALSE(kit.isOpen(w));
        EXPECT_EQ(RestoreRequested, 1);
        EXPECT_EQ(Running.get("TimeDisplayWnd"), 0);
    }
}

} // namespace
} // namespace ven::test
