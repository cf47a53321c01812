// The alarm soak: the frame runs 24 simulated hours on a fast clock (every
// one-second tick of every window delivered, as fast as they run), with a
// daily message alarm every five minutes, a command alarm every hour that
// falls inside a message alarm's window, the chimes on and the digital and
// analog clocks open. It counts every alarm window that opens and every
// command run, checks that each alarm was shown or run exactly once, and
// prints the speed and the process's memory at the start and the end.
//
//   alarm_soak [hours]     (offscreen unless QT_QPA_PLATFORM says otherwise)
#include "app/Procedures.h"
#include "calendar/AlarmWindows.h"
#include "core/Globals.h"
#include "core/Main.h"
#include "core/Procedures.h"
#include "data/Dictionary.h"
#include "platform/Clock.h"
#include "platform/DateTime.h"
#include "platform/ErrorReporter.h"
#include "platform/Ini.h"
#include "platform/Picture.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <map>
#include <set>

using namespace ven;

namespace {

constexpr int kMessageAlarms = 288;  // every five minutes of the day
constexpr int kCommandAlarms = 24;   // hh:04, while hh:05's window counts down

// The resident memory of the process, in kilobytes.
long residentKb()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').front().toLong();
    return -1;
}

void addAlarms(const QString& script, int32_t day)
{
    Context ctx;
    KeyedFile& f = ctx.file(VenAlarm);
    f.open();
    WriteBatch batch(f);
    int nbr = 0;
    auto add = [&](int32_t time, const char* kind, const QString& action, const QString& sound) {
        Record& r = f.rec();
        r.clear();
        r.set(ALA::NBR, ++nbr);
        r.set(ALA::DATE, day);
        r.set(ALA::TIME, time);
        r.set(ALA::WARNING, 6001);  // a minute
        r.set(ALA::MESSAGE, kind);
        r.set(ALA::DOW, "0");      // daily
        r.set(ALA::LOG, 1);
        r.set(ALA::ACTION, action);
        r.set(ALA::SOUND, sound);
        f.add();
    };
    for (int i = 0; i < kMessageAlarms; ++i)
        add(i * 30000 + 1, "M", QStringLiteral("Soak %1").arg(i), QStringLiteral("Bell.wav"));
    for (int h = 0; h < kCommandAlarms; ++h)
        add(timeValue(h, 4, 0), "A", QStringLiteral("%1").arg(h), script);
    batch.commit();
}

} // namespace

int main(int argc, char** argv)
{
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int hours = argc > 1 ? std::max(1, atoi(argv[1])) : 24;

    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    Program_Path = dir.path();
    Store::instance().setFolder(dir.path());
    Store::instance().setFixedFolder(dir.path());
    InitDataFiles();
    DefineProcedures();
    setMessageBoxHandler([](const MessageBoxRequest& r) {
        std::fprintf(stderr, "message box: %s\n", qPrintable(r.text));
        return r.defaultButton;
    });

    // 00:00:30 on a Wednesday; the first alarm of the day (00:00) has passed.
    const QDate first(2026, 12, 9);
    FakeClock clock(QDateTime(first, QTime(0, 0, 30)));
    setClock(&clock);
    setManualTimers(true, [&clock](qint64 ms) { clock.advance(ms); });

    for (const char* k : {"FirstName", "LastName", "Street", "ZipCode", "City", "Country", "EMail"})
        writeIni(dir.filePath("VenOwner.ini"), "Owner", k, "x");
    for (const char* bell : {"QuarterBell", "HalfBell", "HourBell"})
        writeIni(dir.filePath("Vendrolix.ini"), "Main", bell, QStringLiteral("%1.wav").arg(bell));
    const QString runs = dir.filePath("runs.txt");
    const QString script = dir.filePath("command.sh");
    {
        QFile f(script);
        f.open(QIODevice::WriteOnly);
        f.write(("#!/bin/sh\necho \"$1\" >> \"" + runs + "\"\n").toUtf8());
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    {
        Context ctx;
        ctx.file(VenUsr).open();
    }
    addAlarms(script, dayNumber(first));

    call(std::make_unique<Main>(), NoRequest);
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    startProcedure("AnalogClockWnd");
    startProcedure("TimeDisplayWnd");
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();

    // Each window seen opening, by its alarm occurrence.
    std::map<std::tuple<int, int32_t, int32_t>, int> shown;
    std::set<const AlarmWindow*> openBefore;
    auto look = [&] {
        std::set<const AlarmWindow*> open;
        for (WindowController* w : WindowController::openWindows()) {
            if (const auto* a = dynamic_cast<const AlarmWindow*>(w)) {
                open.insert(a);
                if (!openBefore.contains(a))
                    ++shown[{a->alarm().Nbr, a->alarm().Date, a->alarm().FireTime}];
            }
        }
        openBefore = std::move(open);
    };

    const long kbStart = residentKb();
    std::printf("memory at start: %ld kB\n", kbStart);
    QElapsedTimer wall;
    wall.start();
    const int ticks = hours * 3600;
    for (int t = 1; t <= ticks; ++t) {
        advanceTimers(1000);
        QApplication::processEvents();
        look();
        if (t % 21600 == 0)
            std::printf("after %2d h: %ld kB, %.1f s\n", t / 3600, residentKb(), wall.elapsed() / 1000.0);
        std::fflush(stdout);
    }
    const double seconds = wall.elapsed() / 1000.0;
    const long kbEnd = residentKb();
    // The last command's process may still be writing.
    QThread::msleep(500);

    // Every occurrence due in the run: a message alarm at time T fires two
    // minutes before it, a command at its time.
    const int32_t startAt = timeValue(0, 0, 30);
    int dueMessages = 0, dueCommands = 0, twice = 0, missing = 0;
    for (int i = 0; i < kMessageAlarms; ++i)
        for (int d = 0; d <= hours / 24 + 1; ++d) {
            const AlarmFiring f = FiringTime(dayNumber(first) + d, i * 30000 + 1, 6001, "M");
            const int64_t fromStart = int64_t(f.date - dayNumber(first)) * 8640000 + f.time - startAt;
            if (fromStart >= 0 && fromStart < int64_t(ticks) * 100)
                ++dueMessages;
        }
    for (int h = 0; h < kCommandAlarms; ++h)
        for (int d = 0; d <= hours / 24 + 1; ++d) {
            const int64_t fromStart = int64_t(d) * 8640000 + timeValue(h, 4, 0) - startAt;
            if (fromStart >= 0 && fromStart < int64_t(ticks) * 100)
                ++dueCommands;
        }
    int messages = 0, commands = 0;
    for (const auto& [occurrence, count] : shown) {
        (std::get<0>(occurrence) <= kMessageAlarms ? messages : commands) += 1;
        if (count > 1)
            ++twice;
    }
    QFile ranFile(runs);
    ranFile.open(QIODevice::ReadOnly);
    const int ran = int(ranFile.readAll().count('\n'));
    missing = (dueMessages - messages) + (dueCommands - commands);

    std::printf("simulated %d h in %.1f s: %.0f ticks a second (%.0fx real time)\n", hours, seconds,
                ticks / seconds, ticks / seconds);
    std::printf("message alarms: %d due, %d shown; command alarms: %d due, %d shown, %d run\n", dueMessages, messages,
                dueCommands, commands, ran);
    std::printf("shown more than once: %d; not shown: %d\n", twice, missing);
    std::printf("memory at start: %ld kB, at end: %ld kB (%+ld kB)\n", kbStart, kbEnd, kbEnd - kbStart);
    const bool ok = twice == 0 && missing == 0 && messages == dueMessages && commands == dueCommands
                    && ran == dueCommands;
    std::printf("%s\n", ok ? "every alarm shown or run exactly once" : "ALARMS LOST OR REPEATED");

    for (WindowController* w : WindowController::openWindows())
        w->close(RequestCancelled);
    for (int i = 0; i < 10; ++i)
        QApplication::processEvents();
    setManualTimers(false);
    setClock(nullptr);
    Store::instance().closeIdle();
    return ok ? 0 : 1;
}
