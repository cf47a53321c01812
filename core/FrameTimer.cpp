// The frame's one-second heartbeat and its sound routines.
#include "core/FrameTimer.h"

#include "core/ActivityLog.h"
#include "core/AlarmScan.h"
#include "core/DateHelpers.h"
#include "core/FrameSettings.h"
#include "core/Globals.h"
#include "core/Procedures.h"
#include "data/Dictionary.h"
#include "platform/Clock.h"
#include "platform/Ini.h"
#include "platform/TellOnce.h"
#include "platform/Picture.h"
#include "platform/Shell.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace ven {
namespace {

constexpr int32_t kOneSecond = 100;
constexpr int32_t kFiveSeconds = 500;
constexpr int32_t kOneDay = 8640000;

bool anySet(const FlagTable& table, std::initializer_list<const char*> names)
{
    for (const char* n : names)
        if (table.get(QString::fromUtf8(n)))
            return true;
    return false;
}

void play(const QString& setting)
{
    ShellOperation = "Play";
    ShellFile = '"' + QString(setting).remove(QRegularExpression("\\s+$")) + '"';
    ShellDirectory = QDir::currentPath();
    ShellParameters.clear();
    ShellShowCmd = 0;
    ShellExecute();
}

void playIfSet(const QString& setting)
{
    if (!setting.trimmed().isEmpty())
        play(setting);
}

} // namespace

FrameTimer::FrameTimer(FrameHost& host)
    : host_(host)
{
}

FrameTimer::~FrameTimer() = default;

void PlayAlertSound()
{
    if (AlertSound.trimmed().isEmpty())
        QApplication::beep();
    else
        play(AlertSound);
}

void PlayQuarterBell() { playIfSet(QuarterBell); }
void PlayHalfBell() { playIfSet(HalfBell); }
void PlayHourBell() { playIfSet(HourBell); }

CommandStates UpdateCommandStates()
{
    CommandStates s;
    s.exitEnabled = !anySet(Busy, {"DiaryFr", "NameFr", "UserFr", "RebuildKeysWnd", "ProjectFr", "ProjectTotals",
                                   "BirthFr", "UpdateVenAlarm", "DailyNote", "UpdateVenISub", "IdeaFr", "Renumbering"})
                    && !anySet(Running, {"MoneyFr", "AccountsFr"}) && !CloseRefused();
    s.dailyNotesEnabled = !Running.get("CalendarWnd");
    s.calendarEnabled = !Running.get("NotesBr");
    return s;
}

QString CloseRefusedBy()
{
    if (Running.get("LockVendrolixWnd"))
        return QStringLiteral("LockVendrolixWnd");
    for (const char* form : {"DiaryFr", "NameFr", "UserFr", "RebuildKeysWnd", "ProjectFr", "ProgramsFr", "DocCatFr",
                             "SortAlarms", "ProjectTotals", "BirthFr", "UpdateVenAlarm", "DailyNote", "UpdateVenISub",
                             "IdeaFr", "Renumbering", "MoneyFr"})
        if (Busy.get(form))
            return QString::fromLatin1(form);
    return {};
}

bool CloseRefused()
{
    return !CloseRefusedBy().isEmpty();
}

QString FrameTitle(int32_t now)
{
    return formatTime(now, u"T04B") + QStringLiteral(" \u00b7 ") + DateLine + QStringLiteral(" \u00b7 ") + VersionLabel
           + ' ' + formatDate(BuildDate, u"D06-B") + ' ' + formatTime(BuildTime, u"T01B");
}

void FrameTimer::start(int32_t today)
{
    date_ = today;
    lastMidnight_ = today;
    chimeArmed_ = false;
}

void FrameTimer::tick(int32_t today, int32_t now)
{
    if (DaylightSavingDue(dls_, today, now))
        CheckDaylightSaving(host_.files(), ven::clock().now(), dls_);
    host_.showDaylightSaving();
    if (CloseRequested)
        host_.postToSelf(Event::CloseWindow);
    title(today, now);
    chimes(now);
    midnight(today, now);
    fireAlarm(today, now);
    rescan(today, now);
    requests();
    host_.setKeyLockLetters();
}

void FrameTimer::title(int32_t today, int32_t now)
{
    if (today != date_) {
        date_ = today;
        DateLine = dateLineFor(today);
    }
    CurrentTime = now;
    host_.setTitle(FrameTitle(now));
}

void FrameTimer::chimes(int32_t now)
{
    const QString hhmmss = formatTime(now, u"T05");
    const QString mm = hhmmss.mid(2, 2);
    const int ss = hhmmss.mid(4, 2).toInt();
    if (ss < 45) {
        chimeArmed_ = true;
        return;
    }
    if (ss == 45 || !chimeArmed_)
        return;
    if (mm == u"14" || mm == u"44") {
        chimeArmed_ = false;
        PlayQuarterBell();
    } else if (mm == u"29") {
        chimeArmed_ = false;
        PlayHalfBell();
    } else if (mm == u"59") {
        chimeArmed_ = false;
        PlayHourBell();
        if (GOpenCalendar > 2 && !Running.get("CalendarWnd"))
            startProcedure("CalendarWnd");
    }
}

// Once on the first tick of a new day. The roll-over is due on every tick
// of a day later than the last one rolled over, not only in the day's first
// five seconds: a computer that slept over midnight rolls over on waking.
void FrameTimer::midnight(int32_t today, int32_t)
{
    if (today <= lastMidnight_)
        return;
    lastMidnight_ = today;
    ++AlarmsChanged;
    host_.showAlarmStatus();
    if (Log_Activity != u"N") {
        TellLineResult(ActivityLogLine(QStringLiteral(" >>> Midnight <<")));
        ActivityLogFileName();
        DateLine = dateLineFor(today);
        const bool exists = QFileInfo::exists(joinPath(Daily_Notes, ActivityLogName));
        if (!exists)
            TellLineResult(AppendLogLines(
                QStringList{DateLine, QString(), formatTime(ven::clock().time(), u"T04") + " New Log File Created"}));
        else
            TellLineResult(AppendLogLines(QStringList{QString(), DateLine, QString()}));
    }
    DateLine = dateLineFor(today);
    LastOn = today;
    writeIniTold(ProgramIni(), "Main", "LastOn", QString::number(LastOn));
}

// Opens the next alarm's window when its firing time has come: a message
// alarm's from five seconds before it on, a command alarm's from a second
// before (its window runs the command on its first tick at the alarm's
// time, not earlier), and later when the ticks
// stalled (a computer that slept), but once for each occurrence. Another
// alarm's window may still be open: each alarm gets a window of its own.
// The rescan on the same tick then puts the next alarm in the block.
void FrameTimer::fireAlarm(int32_t today, int32_t now)
{
    if (!NextAlarm.Pending || NextAlarm.Nbr == ClosedAlarmNbr || NextAlarm.Important >= 9 || AlarmShown(NextAlarm))
        return;
    const int64_t due = int64_t(NextAlarm.Date - today) * kOneDay + NextAlarm.FireTime;
    if (due - now > (NextAlarm.Kind == u"A" ? kOneSecond : kFiveSeconds))
        return;
    if (StartAlarmWindow) {
        StartAlarmWindow(NextAlarm);
    } else {
        startProcedure(NextAlarm.Kind == u"A" ? "WarningWnd" : "AlarmWnd");
        NoteAlarmShown(NextAlarm);
    }
    AlarmsChanged = 9;
    host_.postToSelf(Running.get("AnalogClockWnd") || Running.get("TimeDisplayWnd") ? Event::Iconized
                                                                                    : Event::Restore);
    if (GOpenCalendar > 1 && !Running.get("CalendarWnd"))
        startProcedure("CalendarWnd");
}

// The rescan also runs while an alarm window is open (each window keeps its
// own copy of its alarm), so that an alarm due meanwhile gets its window.
void FrameTimer::rescan(int32_t today, int32_t now)
{
    // A disabled alarm opens no window that would end it: once it has
    // passed, the scan moves the block on at once. So does the moment the
    // scan asked for: an alarm shown early has passed, or a window is owed.
    if (NextAlarm.Pending && NextAlarm.Important >= 9 && AlarmPassed({NextAlarm.Date, NextAlarm.FireTime}, today, now))
        AlarmsChanged = 9;
    if (AlarmRescanAt.date != 0 && AlarmPassed(AlarmRescanAt, today, now))
        AlarmsChanged = 9;
    if (AlarmsChanged > 8) {
        ScanAlarms(host_.files(), today, now);
    } else if (AlarmsChanged > 0) {
        ++AlarmsChanged;
    } else {
        // The alarm the scan read last lies before now: rescan soon. A scan
        // that read to the end of the file left no record to wait for.
        const Record& last = host_.files().file(VenAlarm).rec();
        const auto lastAt = int64_t((last.num(ALA::DATE) - today + double(last.num(ALA::TIME)) / kOneDay) * 10000000);
        const auto nowAt = int64_t(double(now) / kOneDay * 10000000);
        if (last.num(ALA::NBR) != 0 && lastAt < nowAt)
            ++AlarmsChanged;
    }
    host_.showAlarmStatus();
}

void FrameTimer::requests()
{
    if (RestoreRequested) {
        RestoreRequested = 0;
        host_.postToSelf(Event::Restore);
    }
    if (ConfigChanged) {
        ReadFrameWallpapers(false);
        host_.applyFrameWallpapers();
        host_.setViewLogEnabled(Log_Activity != u"N");
        ConfigChanged = 0;
    }
    if (LockRequested) {
        LockRequested = 0;
        host_.postToSelf(Event::Iconized);
    }
    if (UnlockRequested) {
        UnlockRequested = 0;
        host_.postToSelf(Event::Restore);
    }
}

} // namespace ven
