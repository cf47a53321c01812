// The analog clock, its 63 lines declared as data around the dial's centre.
#include "tools/AnalogClockWnd.h"

#include "core/Globals.h"
#include "platform/Clock.h"
#include "platform/DateTime.h"
#include "platform/Picture.h"
#include "tools/ClockLines.h"

#include <cmath>

namespace ven {
namespace {

constexpr int kCentreX = 172, kCentreY = 129;
constexpr uint32_t kWhite = 0xFFFFFF, kBlue = 0x0000FF;

// The lines' names: the spokes "Spoke0".."Spoke59", then the hands, so that
// the hands are drawn over the spokes.
const std::array<QString, 60>& spokeNames()
{
    static const std::array<QString, 60> names = [] {
        std::array<QString, 60> n;
        for (int j = 0; j < 60; ++j)
            n[size_t(j)] = QStringLiteral("Spoke%1").arg(j);
        return n;
    }();
    return names;
}

WindowDef makeDef()
{
    WindowDef def{
        .title = "Analog Clock",
        .w = 344,
        .h = 260,
        .icon = "AlarmClock.ico",
        .font = {"Tahoma", 9, true},
        .timer = 100,
        .placement = Placement::Centred,
        .statusZones = {10, -1, 10},
    };
    // The picture's whole face takes the window's clicks.
    def.controls.push_back({.name = "Face", .kind = Kind::Region, .x = 0, .y = 0, .w = 344, .h = 260});
    static std::array<QByteArray, 60> spokeNames8;
    for (int j = 0; j < 60; ++j) {
        spokeNames8[size_t(j)] = spokeNames()[size_t(j)].toUtf8();
        def.controls.push_back({.name = spokeNames8[size_t(j)].constData(), .kind = Kind::Line, .x = kCentreX,
                                .y = kCentreY, .w = kSpoke, .h = 0, .color = kBlue, .stroke = 1});
    }
    def.controls.push_back({.name = "Hour", .kind = Kind::Line, .x = kCentreX, .y = kCentreY, .w = 0, .h = -kHourHand,
                            .color = kWhite, .stroke = 14});
    def.controls.push_back({.name = "Minute", .kind = Kind::Line, .x = kCentreX, .y = kCentreY, .w = 0,
                            .h = -kMinuteHand, .color = kWhite, .stroke = 9});
    def.controls.push_back({.name = "Second", .kind = Kind::Line, .x = kCentreX, .y = kCentreY, .w = 0,
                            .h = -kSecondHand, .color = kWhite, .stroke = 2});
    def.controls.push_back({.name = "Close", .kind = Kind::Button, .x = 282, .y = 233, .w = 58, .h = 23,
                            .tip = "Close Window", .icon = "Wink.gif", .flags = Default});
    return def;
}

const WindowDef& analogClockDef()
{
    static const WindowDef def = makeDef();
    return def;
}

} // namespace

HandEnd handEnd(int degrees, int length)
{
    // Radians in decimal, then held in single precision.
    const float radians = float(degrees * 3.1415926535898 / 180);
    return {int(std::round(std::cos(double(radians)) * length)), int(std::round(std::sin(double(radians)) * length))};
}

ClockGeometry clockGeometry(int32_t time)
{
    const TimeParts p = timeParts(time).value_or(TimeParts{});
    const int h = p.hours % 12, m = p.minutes, s = p.seconds;
    ClockGeometry g;
    g.secondAngle = (6 * s + 270) % 360;
    g.minuteAngle = (6 * m + 270 + 6 * s / 60) % 360;
    g.hourAngle = (30 * h + 270 + 6 * m / 12) % 360;
    g.hour = handEnd(g.hourAngle, kHourHand);
    g.minute = handEnd(g.minuteAngle, kMinuteHand);
    g.second = handEnd(g.secondAngle, kSecondHand);
    for (int j = 0; j < 60; ++j) {
        g.spokeAngles[size_t(j)] = (6 * s + 6 * j) % 360;
        g.spokes[size_t(j)] = handEnd(g.spokeAngles[size_t(j)], kSpoke);
    }
    return g;
}

namespace {

class AnalogClockWnd : public WindowController {
public:
    AnalogClockWnd() : WindowController(QStringLiteral("AnalogClockWnd"), analogClockDef()) {}

protected:
    bool setUp() override
    {
        window().setWallpaper(findPictureFile(QStringLiteral("Fract480.gif")));
        window().setWallpaperFlags(false, false, true);
        tick();
        armAlertKey(Qt::Key_Escape);
        // Also the window system's close (its close box, Alt+F4): the clock
        // stands in for the hidden frame, so every close by the user brings
        // the frame back.
        armAlertKey((Qt::ALT | Qt::Key_F4).toCombined());
        setTimer(analogClockDef().timer);
        return true;
    }

    void windowEvent(Event e) override
    {
        WindowController::windowEvent(e);
        if (e == Event::AlertKey) {
            closeByUser();
        } else if (e == Event::Timer) {
            tick();
            if (firstTick_) {
                firstTick_ = false;
                window().QWidget::update();
            }
        }
    }

    void fieldEvent(const QString& control, FieldEvent e) override
    {
        if (e == FieldEvent::RightClick || e == FieldEvent::DoubleClick) {
            closeByUser();
            return;
        }
        WindowController::fieldEvent(control, e);
    }

    void accepted(const QString& control) override
    {
        if (control == u"Close")
            closeByUser();
        else
            WindowController::accepted(control);
    }

private:
    // Closed by the user: the frame comes back.
    void closeByUser()
    {
        RestoreRequested = 1;
        close(RequestCompleted);
    }

    void tick()
    {
        const QDateTime now = ven::clock().now();
        const int32_t time = timeValue(now);
        const ClockGeometry g = clockGeometry(time);
        control("Hour").setLine(g.hour.w, g.hour.h);
        control("Minute").setLine(g.minute.w, g.minute.h);
        control("Second").setLine(g.second.w, g.second.h);
        for (int j = 0; j < 60; ++j)
            control(spokeNames()[size_t(j)]).setLine(g.spokes[size_t(j)].w, g.spokes[size_t(j)].h);
        window().setTitle(clockCaption(dayNumber(now), time));
        window().setStatusText(2, nextAlarmText());
    }

    bool firstTick_ = true;
};

} // namespace

std::unique_ptr<WindowController> makeAnalogClockWnd(const QString&)
{
    return std::make_unique<AnalogClockWnd>();
}

} // namespace ven
