// A fixture for the alarm windows' tests: a window kit on a fake clock, the
// shell calls recorded with the moment they were made, the activity log in
// the test's folder, and alarm blocks built as the alarm scan builds them.
#pragma once

#include "WindowKit.h"

#include "calendar/AlarmWindows.h"
#include "core/ActivityLog.h"
#include "core/DateHelpers.h"
#include "core/Globals.h"
#include "core/Procedures.h"
#include "data/Dictionary.h"
#include "platform/DateTime.h"
#include "platform/Picture.h"
#include "platform/Shell.h"

#include <QFile>

namespace ven::test {

struct ShellCall {
    QString operation, file, parameters, directory;
    int16_t show;
    QString at;  // the clock's time as hh:mm:ss
};

// Records every shell call instead of carrying it out.
class ShellRecorder {
public:
    ShellRecorder()
    {
        setShellHandler([this] {
            calls.push_back({ShellOperation, ShellFile, ShellParameters, ShellDirectory, ShellShowCmd,
                             formatTime(ven::clock().time(), u"T04")});
            return kShellDone;
        });
    }
    ~ShellRecorder() { setShellHandler({}); }
    std::vector<ShellCall> calls;
};

class AlarmTest : public ::testing::Test {
protected:
    // Destroyed after the kit, so that windows the kit closes still record.
    ShellRecorder shell;
    WindowKit kit{QDateTime(QDate(2026, 12, 9), QTime(9, 49))};  // a Wednesday

    void SetUp() override
    {
        InitDataFiles();
        forgetShownAlarms();
        NextAlarm = {};
        AlarmsChanged = 0;
        ClosedAlarmNbr = 0;
        AlertSound.clear();
        Daily_Notes = kit.folder();
        Log_Activity = "C";
        ActivityLogFileName();
        DateLine = "Wednesday 09 December 2026, Week 49";
    }
    void TearDown() override
    {
        clearProcedures();
        NextAlarm = {};
        Log_Activity.clear();
        Daily_Notes.clear();
        AlertSound.clear();
    }

    int32_t today() const { return dayNumber(2026, 12, 9); }
    static int32_t at(int h, int m, int s = 0) { return timeValue(h, m, s); }
    static int32_t minutes(int m) { return m * 6000 + 1; }  // an advance, as a time value

    // A block as the scan fills it, for an alarm at `time` today.
    NextAlarmBlock block(int nbr, const QString& kind, int32_t time, int32_t advance, const QString& sound,
                         const QString& action) const
    {
        NextAlarmBlock b;
        b.Pending = 1;
        b.Nbr = nbr;
        const AlarmFiring f = FiringTime(today(), time, advance, kind);
        b.Date = f.date;
        b.FireTime = f.time;
        b.Time = time;
        b.Warning = advance + 6200;
        b.Kind = kind;
        b.Sound = sound;
        b.Action = action;
        b.Text = formatTime(time, u"T01.") + ' ' + action;
        b.Line = b.Text;
        return b;
    }

    void setClock(int h, int m, int s = 0) { kit.clock().set(QDateTime(QDate(2026, 12, 9), QTime(h, m, s))); }
    QString now() { return formatTime(ven::clock().time(), u"T04"); }

    // Lets ticks pass until the window has closed; the number of ticks.
    int runUntilClosed(const QString& procedure, int limit = 5000)
    {
        int ticks = 0;
        while (kit.isOpen(procedure) && ticks < limit) {
            kit.wait(1000);
            ++ticks;
        }
        return ticks;
    }

    QString logFile() const { return joinPath(Daily_Notes, ActivityLogName); }
    QString logText() const
    {
        QFile f(logFile());
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
};

} // namespace ven::test
