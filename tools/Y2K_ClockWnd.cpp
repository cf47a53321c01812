// The countdown window, its controls declared as data, and the span it shows.
#include "tools/Y2K_ClockWnd.h"

#include "core/FrameSettings.h"
#include "platform/Clock.h"
#include "platform/DateTime.h"
#include "platform/Ini.h"
#include "platform/Picture.h"
#include "tools/ClockLines.h"

#include <chrono>

namespace ven {
namespace {

constexpr int32_t kSecondsADay = 86400;
constexpr int kCloseAfter = 600;  // ticks: ten minutes
constexpr uint32_t kWhite = 0xFFFFFF, kDarkBlue = 0x00008B;

const char* const kLineNames[] = {"Span", "TotalDays", "TotalHours", "TotalMinutes", "TotalSeconds"};

#define VEN_LINE(n, row)                                                                                         \
    {.name = kLineNames[n], .kind = Kind::String, .x = 40, .y = row, .w = 250, .h = 18, .picture = "s20",         \
     .flags = AlignRight, .font = {"Monospace", 16, true}, .color = kWhite, .background = kDarkBlue}

const WindowDef kY2K_ClockDef{
    .title = "Hi!",
    .w = 330,
    .h = 240,
    .icon = "Launch.ico",
    .font = {nullptr, 0, true},
    .timer = 100,
    .placement = Placement::Centred,
    .statusZones = {10, -1, 10},
    .controls = {
        // The picture's whole face takes the window's clicks.
        {.name = "Face", .kind = Kind::Region, .x = 0, .y = 0, .w = 330, .h = 240},
        {.name = "Today", .kind = Kind::String, .x = 40, .y = 12, .w = 120, .h = 16, .picture = "D06-B",
         .font = {nullptr, 14, true}, .color = kWhite, .background = kDarkBlue},
        {.name = "TargetTime", .kind = Kind::String, .x = 190, .y = 12, .w = 45, .h = 16, .picture = "T01.B",
         .flags = AlignRight, .font = {nullptr, 14, true}, .color = kWhite, .background = kDarkBlue},
        {.name = "TargetDate", .kind = Kind::String, .x = 240, .y = 12, .w = 80, .h = 16, .picture = "D06-B",
         .flags = AlignRight, .font = {nullptr, 14, true}, .color = kWhite, .background = kDarkBlue},
        VEN_LINE(0, 44),
        VEN_LINE(1, 72),
        VEN_LINE(2, 100),
        VEN_LINE(3, 128),
        VEN_LINE(4, 156),
        {.name = "Close", .kind = Kind::Button, .x = 150, .y = 190, .w = 30, .h = 24, .tip = "Close Window",
         .icon = "Wink.gif", .flags = Default, .closes = RequestCancelled},
        {.name = "Progress", .kind = Kind::Progress, .x = 0, .y = 234, .w = 330, .h = 6, .low = 0, .high = kCloseAfter},
    }};

#undef VEN_LINE

int daysInMonth(int year, int month)
{
    while (month < 1)
        month += 12, --year;
    while (month > 12)
        month -= 12, ++year;
    using namespace std::chrono;
    return int(unsigned((year_month_day_last(std::chrono::year(year), month_day_last(std::chrono::month(month)))).day()));
}

int wholeSeconds(int32_t time)
{
    return time > 0 ? (time - 1) / 100 : 0;
}

QString twoDigits(int64_t n)
{
    return formatNumber(double(n), u"N02");
}

QString grouped(int64_t n, int size)
{
    return formatNumber(double(n), size == 10 ? u"N10_" : u"N14_").rightJustified(size);
}

} // namespace

CountdownSpan countdownSpan(int32_t today, int32_t now, int32_t targetDate, int32_t targetTime)
{
    const auto d = calendarDateUnchecked(today);
    const auto td = calendarDateUnchecked(targetDate);
    const int y = int(d.year()), m = int(unsigned(d.month())), dd = int(unsigned(d.day()));
    const int ty = int(td.year()), tm = int(unsigned(td.month())), tdd = int(unsigned(td.day()));
    const int nowS = wholeSeconds(now), targetS = wholeSeconds(targetTime);

    CountdownSpan s;
    s.ahead = today < targetDate || (today == targetDate && nowS < targetS);
    int32_t t = 0;
    if (s.ahead) {
        // Seconds from now to the target's time of day on the following day.
        t = kSecondsADay - nowS + targetS;
        const int c = t >= kSecondsADay ? 1 : 0;
        t -= c * kSecondsADay;
        s.years = ty - y;
        s.months = tm - m;
        s.days = tdd - dd - 1 + c;
        // Borrow from today's month, then the months after it, until the days are in range.
        for (int month = m; s.days < 0; ++month) {
            --s.months;
            s.days += daysInMonth(y, month);
        }
        s.totalDays = int64_t(targetDate) - today - 1 + c;
    } else {
        t = nowS - targetS;
        const int b = t < 0 ? 1 : 0;
        t += b * kSecondsADay;
        s.years = y - ty;
        s.months = m - tm;
        s.days = dd - tdd - b;
        // Borrow from the month before today's, then the months before it,
        // until the days are in range.
        for (int month = m - 1; s.days < 0; --month) {
            --s.months;
            s.days += daysInMonth(y, month);
        }
        s.totalDays = int64_t(today) - targetDate - b;
    }
    while (s.months < 0) {
        --s.years;
        s.months += 12;
    }
    s.hours = t / 3600;
    s.minutes = (t / 60) % 60;
    s.seconds = t % 60;
    return s;
}

QStringList countdownLines(const CountdownSpan& s)
{
    const QString hms = twoDigits(s.hours) + u':' + twoDigits(s.minutes) + u':' + twoDigits(s.seconds);
    const int64_t totalHours = s.hours + 24 * s.totalDays;
    const int64_t totalMinutes = s.minutes + 60 * totalHours;
    const int64_t totalSeconds = s.seconds + 60 * totalMinutes;
    return {
        twoDigits(s.years) + u'-' + twoDigits(s.months) + u'-' + twoDigits(s.days) + QLatin1String("  ") + hms,
        grouped(s.totalDays, 10) + QLatin1String("  ") + hms,
        grouped(totalHours, 14) + u':' + twoDigits(s.minutes) + u':' + twoDigits(s.seconds),
        grouped(totalMinutes, 14) + u':' + twoDigits(s.seconds),
        grouped(totalSeconds, 14),
    };
}

CountdownTarget countdownTarget(const QString& iniFile)
{
    CountdownTarget t;
    t.date = readIniInt(iniFile, QStringLiteral("Main"), QStringLiteral("Date"), 0);
    t.time = readIniInt(iniFile, QStringLiteral("Main"), QStringLiteral("Time"), 0);
    if (!isValidDay(t.date))
        t.date = dayNumber(2001, 1, 1);
    if (!isValidTime(t.time))
        t.time = 1;
    return t;
}

namespace {

class Y2K_ClockWnd : public WindowController {
public:
    Y2K_ClockWnd() : WindowController(QStringLiteral("Y2K_ClockWnd"), kY2K_ClockDef) {}

protected:
    bool setUp() override
    {
        target_ = countdownTarget(ProgramIni());
        window().setWallpaper(findPictureFile(QStringLiteral("Fract480.gif")));
        window().setWallpaperFlags(false, false, true);
        window().bind("Today", bindTo(today_));
        window().bind("TargetTime", bindTo(target_.time));
        window().bind("TargetDate", bindTo(target_.date));
        for (size_t i = 0; i < std::size(kLineNames); ++i)
            window().bind(kLineNames[i], bindTo(lines_[i]));
        window().bind("Progress", bindTo(ticks_));
        refresh();
        armAlertKey(Qt::Key_Escape);
        setTimer(kY2K_ClockDef.timer);
        return true;
    }

    void windowEvent(Event e) override
    {
        WindowController::windowEvent(e);
        if (e == Event::AlertKey && alertKey() == Qt::Key_Escape) {
            close(RequestCancelled);
        } else if (e == Event::Timer) {
            refresh();
            window().setStatusText(2, nextAlarmText());
            if (++ticks_ >= kCloseAfter)
                close(RequestCompleted);
            else
                window().display("Progress");
        }
    }

    void fieldEvent(const QString& control, FieldEvent e) override
    {
        if (e == FieldEvent::DoubleClick) {
            ticks_ = 0;  // another ten minutes
            window().display("Progress");
        }
        WindowController::fieldEvent(control, e);
    }

private:
    void refresh()
    {
        const QDateTime now = ven::clock().now();
        today_ = dayNumber(now);
        const int32_t time = timeValue(now);
        window().setTitle(clockCaption(today_, time));
        const QStringList lines = countdownLines(countdownSpan(today_, time, target_.date, target_.time));
        for (int i = 0; i < lines.size(); ++i)
            lines_[i] = lines[i];
        window().display();
    }

    CountdownTarget target_;
    int32_t today_ = 0;
    int32_t ticks_ = 0;
    QString lines_[std::size(kLineNames)];
};

} // namespace

std::unique_ptr<WindowController> makeY2K_ClockWnd(const QString&)
{
    return std::make_unique<Y2K_ClockWnd>();
}

} // namespace ven
