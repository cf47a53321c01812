// The digital clock, its controls declared as data.
#include "tools/TimeDisplayWnd.h"

#include "core/ActivityLog.h"
#include "core/AlarmScan.h"
#include "core/Globals.h"
#include "platform/Clock.h"
#include "platform/DateTime.h"

#include <QAbstractScrollArea>
#include <QFontMetrics>

namespace ven {
namespace {

constexpr uint32_t kMaroon = 0x800000, kSilver = 0xC0C0C0;
// The random place, in dialog units from the top left of the available area.
const QRect kHopRange(QPoint(-3, -26), QPoint(66, 87));

const WindowDef kTimeDisplayDef{
    .title = "Digital Clock",
    .w = 203,
    .h = 71,
    .icon = "Time5.ico",
    .font = {"Tahoma"},
    .timer = 99,
    .frame = Frame::NoTitle,
    .controls = {
        // The whole face takes the window's clicks; two bevelled panels on it.
        {.name = "Face", .kind = Kind::Region, .x = 0, .y = 0, .w = 203, .h = 71},
        {.name = "TopPanel", .kind = Kind::Region, .x = 2, .y = 2, .w = 199, .h = 49},
        {.name = "BottomPanel", .kind = Kind::Region, .x = 2, .y = 53, .w = 199, .h = 16},
        {.name = "DateLine", .kind = Kind::String, .x = 5, .y = 4, .w = 193, .h = 11, .picture = "s35",
         .font = {"Tahoma", 20, true}},
        {.name = "CurrentTime", .kind = Kind::String, .x = 5, .y = 15, .w = 193, .h = 34, .picture = "T04B",
         .font = {"Tahoma", 72, true}},
        {.name = "NextAlarmLine", .kind = Kind::Text, .x = 5, .y = 55, .w = 193, .h = 12,
         .tip = "\r\n  Double Click to Close Window  \r\n", .flags = ReadOnly, .font = {"Tahoma", 10, true},
         .color = kMaroon, .background = kSilver},
    }};

// The widest text a line shows, to fit its font into its box.
struct Sample {
    const char* control;
    const char* text;
};
const Sample kSamples[] = {
    {"DateLine", "Wednesday 30 September 2026, Week 40"},
    {"CurrentTime", "00:00:00"},
};

int gHops = 0;

class TimeDisplayWnd : public WindowController {
public:
    TimeDisplayWnd() : WindowController(QStringLiteral("TimeDisplayWnd"), kTimeDisplayDef)
    {
        for (const char* panel : {"TopPanel", "BottomPanel"}) {
            QWidget* w = control(panel).widget();
            w->setAttribute(Qt::WA_StyledBackground);
            w->setStyleSheet(QStringLiteral("border: 2px outset #c0c0c0; background: transparent;"));
        }
        if (auto* box = control("NextAlarmLine").as<QAbstractScrollArea>())
            box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        control("DateLine").as<QWidget>()->setProperty("alignment", int(Qt::AlignCenter));
        control("CurrentTime").as<QWidget>()->setProperty("alignment", int(Qt::AlignCenter));
        // The designed sizes shrink where the font at hand is wider than the box.
        for (const Sample& s : kSamples) {
            QWidget* w = control(s.control).widget();
            QFont f = w->font();
            while (f.pointSize() > 6 && QFontMetrics(f).horizontalAdvance(QString::fromUtf8(s.text)) > w->width() - 4)
                f.setPointSize(f.pointSize() - 1);
            while (f.pointSize() > 6 && QFontMetrics(f).height() > w->height() + 4)
                f.setPointSize(f.pointSize() - 1);
            w->setFont(f);
        }
    }

protected:
    bool setUp() override
    {
        gHops = 0;
        window().setWallpaper(findPictureFile(QStringLiteral("Window_Bgr.jpg")));
        window().setWallpaperFlags(false, false, true);
        window().bind("DateLine", bindTo(dateLine_));
        window().bind("CurrentTime", bindTo(now_));
        window().bind("NextAlarmLine", bindTo(NextAlarmLine));
        takeTime();
        armAlertKey(Qt::Key_Escape);
        armAlertKey((Qt::ALT | Qt::Key_F4).toCombined());
        setTimer(kTimeDisplayDef.timer);
        return true;
    }

    void windowEvent(Event e) override
    {
        WindowController::windowEvent(e);
        switch (e) {
        case Event::OpenWindow: hop(); break;
        case Event::AlertKey: closeByUser(); break;
        case Event::Timer: tick(); break;
        default: break;
        }
    }

    void fieldEvent(const QString& control, FieldEvent e) override
    {
        switch (e) {
        case FieldEvent::DoubleClick: closeByUser(); return;
        case FieldEvent::RightClick:
        case FieldEvent::MiddleClick:
            hop();
            window().display();
            return;
        default: WindowController::fieldEvent(control, e);
        }
    }

private:
    void takeTime()
    {
        const QDateTime now = ven::clock().now();
        now_ = timeValue(now);
        dateLine_ = dateLineFor(dayNumber(now));
    }

    void tick()
    {
        takeTime();
        const int seconds = timeParts(now_).value_or(TimeParts{}).seconds;
        // One hop a minute, at its second 00, however many ticks fall in that second.
        const int32_t minute = (now_ - 1) / 6000;
        if (seconds == 0 && minute != lastHopMinute_) {
            lastHopMinute_ = minute;
            hop();
        }
        if (seconds % 15 == 0)
            window().display();
        else
            window().display("CurrentTime");
    }

    void hop()
    {
        window().placeRandomly(kHopRange);
        ++gHops;
    }

    void closeByUser()
    {
        RestoreRequested = 1;
        close(RequestCompleted);
    }

    int32_t now_ = 0;
    QString dateLine_;
    int32_t lastHopMinute_ = -1;
};

} // namespace

std::unique_ptr<WindowController> makeTimeDisplayWnd(const QString&)
{
    return std::make_unique<TimeDisplayWnd>();
}

int timeDisplayHops()
{
    return gHops;
}

} // namespace ven
