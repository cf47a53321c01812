// The command-alarm window, its controls declared as data.
#include "calendar/WarningWnd.h"

#include "core/ActivityLog.h"
#include "core/Procedures.h"
#include "data/Dictionary.h"
#include "platform/Clock.h"
#include "platform/DateTime.h"
#include "platform/ErrorReporter.h"
#include "platform/Shell.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include <cstdlib>

namespace ven {
namespace {

constexpr uint32_t kYellow = 0xFFFF00, kRed = 0xFF0000;
constexpr int32_t kCountdownLess = 6000;  // the block's Warning holds 62 seconds more than the advance
constexpr int32_t kMessageLead = 6200;    // ... and the advance is that much less than Warning
constexpr int64_t kOneDay = 8640000;
constexpr int32_t kOneSecond = 100;

// Files that the shell plays rather than opens.
const QStringList kPlayedCommands = {"MID", "WAV", "M3U", "RMI"};

// No button is the default: Enter typed into another program must not
// run the command early.
const WindowDef kWarningWndDef{
    .title = "",
    .w = 227,
    .h = 89,
    .font = {"Tahoma", 14},
    .controls = {
        {.name = "DateLine", .kind = Kind::String, .x = 4, .y = 2, .w = 219, .h = 10, .font = {"Tahoma", 16, true}},
        {.name = "NextAlarmText", .kind = Kind::Text, .x = 4, .y = 14, .w = 219, .h = 48,
         .tip = "\nExecuting this Command!\n", .flags = ReadOnly, .font = {"Tahoma", 14, true}, .color = kYellow,
         .background = kRed},
        {.name = "CurrentTime", .kind = Kind::String, .x = 4, .y = 66, .w = 64, .h = 14, .picture = "T04.B",
         .font = {"Tahoma", 18, true}},
        {.name = "Cancel", .kind = Kind::Button, .text = "Cancel", .x = 72, .y = 66, .w = 44, .h = 14,
         .tip = "Cancel Execute", .flags = Hidden | Disabled},
        {.name = "OK", .kind = Kind::Button, .text = "OK", .x = 120, .y = 66, .w = 44, .h = 14, .tip = "Close Window",
         .flags = Hidden | Disabled, .font = {nullptr, 0, true}},
        {.name = "Countdown", .kind = Kind::String, .x = 168, .y = 68, .w = 55, .h = 10, .picture = "T4_B",
         .flags = AlignRight, .font = {"Fixedsys", 10}},
        {.name = "Progress", .kind = Kind::Progress, .x = 0, .y = 83, .w = 227, .h = 6},
    }};

bool isView(const QString& command)
{
    return command.trimmed().compare(QLatin1String("VIEW"), Qt::CaseInsensitive) == 0;
}

} // namespace

WarningWnd::WarningWnd(const NextAlarmBlock& block)
    : AlarmWindow(QStringLiteral("WarningWnd"), kWarningWndDef, block, block.Warning - kCountdownLess)
{
    QStyle* style = QApplication::style();
    control("Cancel").as<QPushButton>()->setIcon(style->standardIcon(QStyle::SP_DialogCancelButton));
    control("OK").as<QPushButton>()->setIcon(style->standardIcon(QStyle::SP_DialogOkButton));
    control("DateLine").as<QLabel>()->setAlignment(Qt::AlignCenter);
}

// An alert sound that cannot play was logged once; the window beeps instead.
void WarningWnd::playWarningSound()
{
    const QString file = AlertSound.trimmed();
    if (file.isEmpty() || soundFailed())
        QApplication::beep();
    else
        sound(QStringLiteral("Play"), quoted(file), currentFolder(), 0);
}

// The command runs at the alarm's time: its firing moment plus the advance.
// Late (the ticks stalled, or the alarm came due while another window was
// open) it runs at the first tick; the countdown ends it too, so a clock
// set back does not hold it.
bool WarningWnd::commandDue(int32_t now) const
{
    const int64_t at = int64_t(alarm_.Date) * kOneDay + alarm_.FireTime + (alarm_.Warning - kMessageLead);
    const int64_t nowAt = int64_t(ven::clock().today()) * kOneDay + now;
    return at - nowAt < kOneSecond || remaining_ <= 0;
}

void WarningWnd::opened()
{
    playWarningSound();
    moveToRandomPlace();
}

void WarningWnd::tick(int32_t now)
{
    takeTime(now);
    if (commandDue(now)) {
        closeNow();
        return;
    }
    remaining_ -= 100;
    const std::optional<TimeParts> parts = timeParts(now);
    if (parts && parts->seconds % 15 == 0) {
        playWarningSound();
        if (parts->seconds % 30 == 0)
            moveToRandomPlace();
    }
    // Kept in front, but the keyboard focus stays where the user has it.
    bringForward();
    showButtons(true);
}

void WarningWnd::runCommand()
{
    const QString command = alarm_.Sound.trimmed();
    if (isView(command)) {
        ShellFile = alarm_.Action;
        ShellDirectory = currentFolder();
        startProcedure(QStringLiteral("ViewerWnd"));
        return;
    }
    // A command that names a program starts it; any other file is opened as
    // a document, never run.
    const QString verb = kPlayedCommands.contains(extension_)                ? QStringLiteral("Play")
                         : findProgram(command, currentFolder()).isEmpty() ? QStringLiteral("Open")
                                                                           : QStringLiteral("Start");
    // A command that could not run is logged as failed, not as run.
    const QString text = (alarm_.Sound + ' ' + alarm_.Action).left(256);
    auto failed = std::make_shared<bool>(false);
    ShellOnFailure = [failed, text](const QString& why) {
        *failed = true;
        TellLineResult(ActivityLogLine(text + " - failed: " + why));
    };
    shell(verb, quoted(command), alarm_.Action, currentFolder(), 1);
    if (!*failed)
        logLine(text);
}

void WarningWnd::moveAlarmOn()
{
    KeyedFile& f = file(VenAlarm);
    const bool wasOpen = f.isOpen();
    if (!wasOpen) {
        if (Status st = f.open(KeyedFile::Mode::Shared); !st) {
            errors().show(st);
            return;
        }
    }
    f.rec().clear();
    f.rec().set(ALA::NBR, int64_t(alarm_.Nbr));
    // Not found: deleted meanwhile. Another firing moment: already moved on
    // (the scan moves a passed alarm before it opens its window) or changed.
    if (f.get(ALA::NBR_KEY).ok() && FiringTime(f.rec()) == AlarmFiring{alarm_.Date, alarm_.FireTime}) {
        const QString dow = f.rec().str(ALA::DOW);
        std::optional<int32_t> date = RepeatDate(dow.isEmpty() ? QChar(' ') : dow.at(0), int32_t(f.rec().num(ALA::DATE)));
        if (date && *date > kLastDay)
            date.reset();
        if (date)
            f.rec().set(ALA::DATE, int64_t(*date));
        if (Status st = date ? f.put() : f.remove(); !st)
            errors().show(st);
    }
    if (!wasOpen)
        f.close();
}

void WarningWnd::closing()
{
    if (!cancelled_)
        runCommand();
    if (ownsBlock())
        NextAlarm.Pending = 0;
    moveAlarmOn();
}

std::unique_ptr<WindowController> makeWarningWnd(const QString&)
{
    return std::make_unique<WarningWnd>(NextAlarm);
}

} // namespace ven
