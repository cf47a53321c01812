// The alarm windows' shared behaviour and the register of which alarm
// occurrences have a window.
#include "calendar/AlarmWindows.h"

#include "calendar/AlarmWnd.h"
#include "calendar/WarningWnd.h"
#include "core/ActivityLog.h"
#include "core/Globals.h"
#include "platform/Clock.h"
#include "platform/DateTime.h"
#include "platform/ErrorReporter.h"
#include "platform/Shell.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

#include <algorithm>
#include <utility>
#include <vector>

namespace ven {
namespace {

constexpr int32_t kTick = 100;         // the window timer, in hundredths
constexpr int kExtensionSize = 10;
// The random place, in dialog units from the top left of the screen's available area (kept on it).
constexpr int kLeftMost = -3, kRightMost = 66;
constexpr int kTopMost = -26, kBottomMost = 87;
// One occurrence of an alarm: the same alarm moved on to another date is another.
struct Occurrence {
    int32_t nbr, date, time;
    bool operator==(const Occurrence&) const = default;
};
Occurrence occurrenceOf(const NextAlarmBlock& b)
{
    return {b.Nbr, b.Date, b.FireTime};
}

std::vector<AlarmWindow*>& openAlarmWindows()
{
    static std::vector<AlarmWindow*> v;
    return v;
}

// Running: and Thread: of a kind follow the last of its windows still open.
void updateFlags(const QString& procedure)
{
    uint8_t thread = 0;
    for (AlarmWindow* w : openAlarmWindows())
        if (w->procedure() == procedure)
            thread = uint8_t(w->thread());
    Running[procedure] = thread;
    Thread[procedure] = thread;
}

// Every alarm window keeps its own instance rule (one per occurrence), so
// the framework's single-instance rule is off.
ProcedureTraits alarmTraits(const QString& procedure)
{
    ProcedureTraits t = traitsOf(procedure);
    t.single = SingleRule::None;
    t.keepsPlacement = false;
    t.wallpaper = WallpaperKind::None;
    return t;
}

} // namespace

bool showAlarmWindow(const NextAlarmBlock& block)
{
    if (AlarmShown(block))
        return false;
    const int thread = start([block]() -> std::unique_ptr<WindowController> {
        if (block.Kind == QLatin1String("A"))
            return std::make_unique<WarningWnd>(block);
        return std::make_unique<AlarmWnd>(block);
    });
    if (thread == 0)
        return false;
    NoteAlarmShown(block);
    return true;
}

// ------------------------------------------------------------- the window --

AlarmWindow::AlarmWindow(const QString& procedure, const WindowDef& def, const NextAlarmBlock& block, int32_t total)
    : WindowController(procedure, def, alarmTraits(procedure))
    , alarm_(block)
    , total_(total)
    , remaining_(total)
{
    window().setWindowFlags(Qt::Window | Qt::CustomizeWindowHint);  // no title bar
    window().setCursor(Qt::BlankCursor);
}

QString AlarmWindow::extensionOf(const QString& file)
{
    return QFileInfo(file.trimmed()).suffix().toUpper().left(kExtensionSize);
}

bool AlarmWindow::setUp()
{
    for (AlarmWindow* w : openAlarmWindows()) {
        if (occurrenceOf(w->alarm_) == occurrenceOf(alarm_)) {
            w->post(Event::GainFocus);
            return false;
        }
    }
    NoteAlarmShown(alarm_);
    window().bind("DateLine", bindTo(DateLine));
    window().bind("CurrentTime", bindTo(now_));
    window().bind("Countdown", bindTo(remaining_));
    window().bind("Progress", bindTo(progress_));
    control("NextAlarmText").setText(QString(alarm_.Text).replace(QLatin1String("\r\n"), QLatin1String("\n")));
    extension_ = extensionOf(alarm_.Sound);
    now_ = ven::clock().time();
    setTimer(kTick);
    return true;
}

void AlarmWindow::windowEvent(Event e)
{
    WindowController::windowEvent(e);
    switch (e) {
    case Event::OpenWindow:
        registered_ = true;
        openAlarmWindows().push_back(this);
        updateFlags(procedure());
        opened();
        window().display();
        break;
    case Event::Timer:
        if (!closing_) {
            tick(ven::clock().time());
            if (!closing_)
                window().display();
        }
        break;
    case Event::GainFocus:
        if (iconized())
            setIconized(false);
        break;
    default: break;
    }
}

void AlarmWindow::accepted(const QString& control)
{
    if (control == QLatin1String("Cancel")) {
        cancelled_ = true;
        remaining_ = 0;
        // The shared texts are only this window's to change while they describe its alarm.
        if (ownsBlock())
            NextAlarmLine = QStringLiteral("Alarm Cancelled!");
    } else if (control != QLatin1String("OK")) {
        WindowController::accepted(control);
        return;
    }
    showButtons(false);
    closeNow();
}

void AlarmWindow::tearDown()
{
    if (!registered_)
        return;  // refused before its window opened
    registered_ = false;
    ClosedAlarmNbr = alarm_.Nbr;
    closing();
    if (AlarmsChanged < UINT8_MAX)
        ++AlarmsChanged;
    std::erase(openAlarmWindows(), this);
    updateFlags(procedure());
}

void AlarmWindow::takeTime(int32_t now)
{
    now_ = now;
    const int64_t passed = int64_t(total_) - remaining_;
    progress_ = uint8_t(total_ > 0 ? std::clamp<int64_t>(passed * 100 / total_, 0, 100) : 100);
}

void AlarmWindow::moveToRandomPlace()
{
    window().placeRandomly(QRect(QPoint(kLeftMost, kTopMost), QPoint(kRightMost, kBottomMost)));
}

void AlarmWindow::bringForward()
{
    // The offscreen platform has no stacking to change.
    if (QGuiApplication::platformName() != QLatin1String("offscreen"))
        window().outer()->raise();
}

void AlarmWindow::showButtons(bool on)
{
    for (const char* name : {"OK", "Cancel"}) {
        control(name).show(on);
        control(name).enable(on);
    }
}

void AlarmWindow::shell(const QString& verb, const QString& file, const QString& parameters, const QString& folder,
                        int16_t show)
{
    ShellWindow = &window();
    ShellOperation = verb;
    ShellFile = file;
    ShellParameters = parameters;
    ShellDirectory = folder;
    ShellShowCmd = show;
    ShellExecute();
}

void AlarmWindow::sound(const QString& verb, const QString& file, const QString& folder, int16_t show)
{
    if (soundFailed())
        return;
    ShellOnFailure = [failed = soundFailed_, alarm = alarm_.Line](const QString& why) {
        if (std::exchange(*failed, true))
            return;
        TellLineResult(ActivityLogLine(why + " (alarm " + alarm + ')'));
    };
    shell(verb, file, {}, folder, show);
}

void AlarmWindow::logLine(const QString& text)
{
    TellLineResult(ActivityLogLine(text));
}

void AlarmWindow::closeNow()
{
    closing_ = true;
    setTimer(0);
    close(cancelled_ ? RequestCancelled : RequestCompleted);
}

QString AlarmWindow::quoted(const QString& file)
{
    return '"' + file + '"';
}

QString AlarmWindow::currentFolder()
{
    return QDir::toNativeSeparators(QDir::currentPath());
}

bool AlarmWindow::ownsBlock() const
{
    return occurrenceOf(NextAlarm) == occurrenceOf(alarm_);
}

} // namespace ven
