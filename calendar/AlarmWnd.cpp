// The message-alarm window, its controls declared as data.
#include "calendar/AlarmWnd.h"

#include "platform/DateTime.h"

#include <QApplication>
#include <QPushButton>
#include <QStyle>

#include <cstdlib>

namespace ven {
namespace {

constexpr uint32_t kYellow = 0xFFFF00, kNavy = 0x000080, kBlack = 0x000000;

// No button is the default: a key typed into another program while the
// alarm comes up must not close it.
const WindowDef kAlarmWndDef{
    .title = "",
    .w = 204,
    .h = 98,
    .font = {"Tahoma", 14},
    .controls = {
        {.name = "DateLine", .kind = Kind::String, .x = 4, .y = 2, .w = 196, .h = 10, .font = {"Tahoma", 16, true}},
        {.name = "TextFrame", .kind = Kind::Region, .x = 2, .y = 13, .w = 200, .h = 51, .background = kNavy},
        {.name = "NextAlarmText", .kind = Kind::Text, .x = 5, .y = 15, .w = 194, .h = 47, .flags = ReadOnly,
         .font = {"Tahoma", 16, true}, .color = kBlack, .background = kYellow},
        {.name = "CurrentTime", .kind = Kind::String, .x = 4, .y = 67, .w = 64, .h = 14, .picture = "T04.B",
         .font = {"Tahoma", 18, true}},
        {.name = "Cancel", .kind = Kind::Button, .text = "Cancel", .x = 72, .y = 67, .w = 40, .h = 14,
         .tip = "\nCancel Alarm\n", .flags = Hidden | Disabled},
        {.name = "OK", .kind = Kind::Button, .text = "OK", .x = 115, .y = 67, .w = 40, .h = 14,
         .tip = "\nClose Window\n", .flags = Hidden | Disabled, .font = {nullptr, 0, true}},
        {.name = "Countdown", .kind = Kind::String, .x = 158, .y = 69, .w = 42, .h = 10, .picture = "T4_B",
         .flags = AlignRight, .font = {"Fixedsys", 10}},
        {.name = "Progress", .kind = Kind::Progress, .x = 0, .y = 92, .w = 204, .h = 6},
    }};

// The replay interval by the distance to the appointment: above 15
// minutes every 5 minutes, above 5 every minute, above 1 every half
// minute, else every quarter minute.
struct Replay {
    int32_t above, interval;
};
constexpr Replay kReplays[] = {{90000, 30000}, {30000, 6000}, {6000, 3000}, {-1, 1500}};

} // namespace

AlarmWnd::AlarmWnd(const NextAlarmBlock& block)
    : AlarmWindow(QStringLiteral("AlarmWnd"), kAlarmWndDef, block, block.Warning)
{
    QStyle* style = QApplication::style();
    control("Cancel").as<QPushButton>()->setIcon(style->standardIcon(QStyle::SP_DialogCancelButton));
    control("OK").as<QPushButton>()->setIcon(style->standardIcon(QStyle::SP_DialogOkButton));
    for (const char* name : {"OK", "Cancel"})
        control(name).widget()->setCursor(Qt::PointingHandCursor);
}

int32_t AlarmWnd::replayInterval(int32_t toGo)
{
    for (const Replay& r : kReplays)
        if (toGo > r.above)
            return r.interval;
    return kReplays[std::size(kReplays) - 1].interval;
}

void AlarmWnd::playSound(int16_t show)
{
    if (alarm_.Sound.trimmed().isEmpty())
        return;  // no sound chosen: nothing to play or open
    const bool wave = extension_ == QLatin1String("WAV");
    sound(wave ? QStringLiteral("Play") : QStringLiteral("Open"), quoted(alarm_.Sound.trimmed()), {}, show);
}

void AlarmWnd::opened()
{
    moveToRandomPlace();
    playSound(0);
}

void AlarmWnd::tick(int32_t now)
{
    takeTime(now);
    if (remaining_ <= 0) {
        closeNow();
        return;
    }
    // Replays fall on the first second of each interval counted from
    // midnight: whole 5 minutes, minutes, half or quarter minutes.
    const int32_t toGo = std::abs(alarm_.Time - now);
    if (now % replayInterval(toGo) < 100 && !cancelled_ && !alarm_.Sound.trimmed().isEmpty() && !soundFailed()) {
        if (extension_ == QLatin1String("WAV")) {
            playSound(0);
        } else {
            // Any other file opens in its program, and the window makes way for it.
            playSound(1);
            remaining_ = 0;
        }
    }
    remaining_ -= 100;
    if (buttonsPending_) {
        buttonsPending_ = false;
        showButtons(true);
    }
    const std::optional<TimeParts> parts = timeParts(now);
    if (parts && parts->seconds % 30 == 0) {
        moveToRandomPlace();
        bringForward();
    }
}

void AlarmWnd::closing()
{
    if (!cancelled_ && alarm_.Log == 1)
        logLine(alarm_.Line);
}

std::unique_ptr<WindowController> makeAlarmWnd(const QString&)
{
    return std::make_unique<AlarmWnd>(NextAlarm);
}

} // namespace ven
