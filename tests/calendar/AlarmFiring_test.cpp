// Alarms through the frame's own timer and scan on the fake clock, with the
// real alarm windows: every alarm whose time comes gets its window once,
// also while another counts down, after a stall and when saved with a short
// lead; a command runs at its time; alarms that passed while the program was
// off are logged as missed.
#include "AlarmKit.h"

#include "app/Procedures.h"
#include "calendar/AlarmsBr.h"
#include "core/Main.h"
#include "platform/Ini.h"

#include <map>
#include <set>

namespace ven::test {
namespace {

// An alarm window as it was seen opening.
struct Opening {
    int nbr;
    QString procedure;
    QString at;  // hh:mm:ss
    bool operator==(const Opening&) const = default;
};

void PrintTo(const Opening& o, std::ostream* os)
{
    *os << o.nbr << ' ' << o.procedure.toStdString() << ' ' << o.at.toStdString();
}

class FrameAlarms : public ::testing::Test {
protected:
    ShellRecorder shell;  // destroyed after the kit, so that windows the kit closes still record
    WindowKit kit{QDateTime(QDate(2026, 12, 9), QTime(9, 0))};  // a Wednesday
    std::vector<Opening> openings;
    std::set<const AlarmWindow*> openLastTick;

    void SetUp() override
    {
        InitDataFiles();
        DefineProcedures();
        forgetShownAlarms();
        NextAlarm = {};
        AlarmsChanged = 0;
        ClosedAlarmNbr = 0;
        for (const char* k : {"FirstName", "LastName", "Street", "ZipCode", "City", "Country", "EMail"})
            writeIni(kit.folder("VenOwner.ini"), "Owner", k, "x");
        Context ctx;
        ctx.file(VenUsr).open();
    }
    void TearDown() override
    {
        clearProcedures();
        StartAlarmWindow = {};
        forgetShownAlarms();
        NextAlarm = {};
        AlarmsChanged = 0;
        ClosedAlarmNbr = 0;
        Log_Activity.clear();
    }

    static int32_t today() { return dayNumber(2026, 12, 9); }
    static int32_t at(int h, int m, int s = 0) { return timeValue(h, m, s); }
    static int32_t minutes(int m) { return m * 6000 + 1; }
    QString now() { return formatTime(ven::clock().time(), u"T04"); }
    void setClock(int h, int m, int s = 0) { kit.clock().set(QDateTime(QDate(2026, 12, 9), QTime(h, m, s))); }

    void addAlarm(int nbr, int32_t date, int32_t time, int32_t warning, const char* kind, const QString& action,
                  const std::function<void(Record&)>& more = {})
    {
        Context ctx;
        KeyedFile& f = ctx.file(VenAlarm);
        ASSERT_TRUE(f.open());
        f.rec().clear();
        f.rec().set(ALA::NBR, nbr);
        f.rec().set(ALA::DATE, date);
        f.rec().set(ALA::TIME, time);
        f.rec().set(ALA::WARNING, warning);
        f.rec().set(ALA::MESSAGE, kind);
        f.rec().set(ALA::DOW, "N");
        f.rec().set(ALA::LOG, 1);
        f.rec().set(ALA::ACTION, action);
        if (QString(kind) == "A")
            f.rec().set(ALA::SOUND, "true");  // a program on PATH: it starts
        if (more)
            more(f.rec());
        ASSERT_TRUE(f.add());
    }
    std::map<int, int32_t> storedDates()
    {
        std::map<int, int32_t> dates;
        for (const Record& r : WindowKit::records(VenAlarm))
            dates[int(r.num(ALA::NBR))] = int32_t(r.num(ALA::DATE));
        return dates;
    }

    void startFrame()
    {
        kit.call(std::make_unique<Main>(), NoRequest);
        ASSERT_TRUE(kit.isOpen("Main"));
        noteOpenings();
    }
    // The alarm windows that opened since the last look.
    void noteOpenings()
    {
        std::set<const AlarmWindow*> open;
        for (WindowController* w : WindowController::openWindows()) {
            const auto* a = dynamic_cast<const AlarmWindow*>(w);
            if (!a)
                continue;
            open.insert(a);
            if (!openLastTick.contains(a))
                openings.push_back({a->alarm().Nbr, a->procedure(), now()});
        }
        openLastTick = std::move(open);
    }
    void tick()
    {
        kit.wait(1000);
        noteOpenings();
    }
    void runUntil(int h, int m, int s = 0)
    {
        while (ven::clock().time() < at(h, m, s))
            tick();
    }
    std::vector<ShellCall> started() const
    {
        std::vector<ShellCall> v;
        for (const ShellCall& c : shell.calls)
            if (c.operation == "Start")
                v.push_back(c);
        return v;
    }
    QString log() const
    {
        QFile f(kit.folder("Vendrolix.log"));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
};

// A command alarm due while a message alarm's window counts down gets its
// own window, and runs at its time; neither record goes unseen.
TEST_F(FrameAlarms, AnAlarmDueWhileAnotherWindowCountsDownGetsItsWindow)
{
    addAlarm(1, today(), at(10, 0), minutes(15), "M", "Budget");  // fires 09:44
    addAlarm(2, today(), at(9, 50), 0, "A", "--backup");
    setClock(9, 43, 50);
    startFrame();
    runUntil(10, 1, 0);
    const std::vector<Opening> expected = {{1, "AlarmWnd", "09:43:55"}, {2, "WarningWnd", "09:49:59"}};
    EXPECT_EQ(openings, expected);
    ASSERT_EQ(started().size(), 1u);
    EXPECT_EQ(started()[0].file, "\"true\"");
    EXPECT_EQ(started()[0].at, "09:50:00") << "a command without advance runs at its time";
    EXPECT_TRUE(storedDates().empty());
    EXPECT_EQ(log().count("true --backup"), 1);
    EXPECT_EQ(log().count("10.00 Budget"), 1);
}

// Ticks that stop over two alarms' firing times: on waking both windows
// open, and each record stays until its window has been shown.
TEST_F(FrameAlarms, AStallOverTwoAlarmsShowsBothOnWaking)
{
    addAlarm(1, today(), at(12, 10), 0, "M", "Lunch");  // fires 12:09
    addAlarm(2, today(), at(12, 11), 0, "M", "Call");   // fires 12:10
    setClock(12, 8, 0);
    startFrame();
    runUntil(12, 8, 30);
    EXPECT_TRUE(openings.empty());
    setClock(12, 11, 22);  // the process was stopped
    tick();
    const std::vector<Opening> expected = {{1, "AlarmWnd", "12:11:23"}, {2, "AlarmWnd", "12:11:23"}};
    EXPECT_EQ(openings, expected);
    runUntil(12, 13, 0);
    EXPECT_EQ(openings, expected) << "each alarm once";
    EXPECT_TRUE(storedDates().empty());
    EXPECT_EQ(log().count("12.10 Lunch"), 1);
    EXPECT_EQ(log().count("12.11 Call"), 1);
}

// The computer slept and the clock moved on an hour: the alarms of that
// hour come up late, each once, a repeating one moved on after its window.
TEST_F(FrameAlarms, AClockThatJumpsAheadShowsTheAlarmsItJumpedOver)
{
    addAlarm(1, today(), at(10, 30), minutes(5), "M", "Standup", [](Record& r) { r.set(ALA::DOW, "0"); });
    addAlarm(2, today(), at(10, 40), 0, "A", "--sync");
    setClock(10, 0, 0);
    startFrame();
    tick();
    setClock(11, 0, 0);
    tick();
    tick();
    ASSERT_EQ(openings.size(), 2u);
    EXPECT_EQ(openings[0].nbr, 1);
    EXPECT_EQ(openings[1].nbr, 2);
    ASSERT_EQ(started().size(), 1u) << "the late command runs at once";
    runUntil(11, 10, 0);
    EXPECT_EQ(openings.size(), 2u);
    const std::map<int, int32_t> dates = {{1, today() + 1}};
    EXPECT_EQ(storedDates(), dates);
}

// Alarms of every repeat code that passed while the program was off are
// moved on or deleted as before, and each leaves a line in the log; the
// important one shows its window.
TEST_F(FrameAlarms, AStartAfterPassedAlarmsLogsEachOneMissed)
{
    const int32_t yesterday = today() - 1;  // Tuesday
    const struct {
        const char* dow;
        int32_t date;  // after the start; 0 deleted
    } cases[] = {{"N", 0},          {"0", today() + 1}, {"1", today() + 4}, {"2", today() + 5},
                 {"3", today() + 6}, {"4", today() + 7}, {"5", today() + 1}, {"6", today() + 2},
                 {"7", today() + 3}, {"8", today() + 1}, {"9", today() + 3}};
    int nbr = 0;
    for (const auto& c : cases)
        addAlarm(++nbr, yesterday, at(8, 0), minutes(1), "M", QStringLiteral("Repeat %1").arg(c.dow),
                 [&](Record& r) { r.set(ALA::DOW, c.dow); });
    addAlarm(20, yesterday, at(9, 0), minutes(1), "M", "Pills", [](Record& r) { r.set(ALA::IMPORTANT, 1); });
    setClock(10, 0, 0);
    startFrame();
    tick();

    std::map<int, int32_t> expected;
    nbr = 0;
    for (const auto& c : cases) {
        ++nbr;
        if (c.date)
            expected[nbr] = c.date;
        EXPECT_EQ(log().count(QStringLiteral("Missed alarm: 2026-12-08 08.00 Repeat %1\r\n").arg(c.dow)), 1) << c.dow;
    }
    EXPECT_EQ(storedDates(), expected);
    const std::vector<Opening> shown = {{20, "AlarmWnd", "10:00:00"}};
    EXPECT_EQ(openings, shown);
    EXPECT_FALSE(log().contains("Missed alarm: 2026-12-08 09.00 Pills"));
}

// Saved with an advance that would open the window before now, or too soon
// to be seen by the next scan: the form shortens the advance so that the
// window still opens ahead, and it does.
TEST_F(FrameAlarms, AMessageAlarmSavedWithAShortLeadIsShown)
{
    struct Case {
        QTime saved;
        const char* time;
        const char* warning;
        const char* storedWarning;
        QTime firing;
    };
    const Case cases[] = {
        {QTime(13, 29, 0), "13.32", "0.02", "0.01", QTime(13, 30, 0)},  // three minutes ahead
        {QTime(14, 29, 58), "15.00", "1.00", "0.28", QTime(14, 31, 0)},
    };
    setClock(13, 0, 0);
    startFrame();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.time);
        openings.clear();
        kit.clock().set(QDateTime(QDate(2026, 12, 9), c.saved.addSecs(-20)));
        kit.start([] { return makeAlarmsBr({}); });
        kit.press("AlarmsBr", "Insert");
        ASSERT_TRUE(kit.isOpen("UpdateVenAlarm"));
        kit.replaceText("UpdateVenAlarm", "Time", c.time);
        kit.tab("UpdateVenAlarm");
        kit.replaceText("UpdateVenAlarm", "Warning", c.warning);
        kit.tab("UpdateVenAlarm");
        kit.replaceText("UpdateVenAlarm", "Action", "Meeting");
        kit.tab("UpdateVenAlarm");
        kit.clock().set(QDateTime(QDate(2026, 12, 9), c.saved));
        kit.press("UpdateVenAlarm", "OK");
        ASSERT_FALSE(kit.isOpen("UpdateVenAlarm"));
        kit.press("AlarmsBr", "Close");
        const std::vector<Record> stored = WindowKit::records(VenAlarm);
        ASSERT_EQ(stored.size(), 1u);
        const int nbr = int(stored[0].num(ALA::NBR));
        EXPECT_EQ(formatTime(int32_t(WindowKit::records(VenAlarm).back().num(ALA::WARNING)), u"T1.B").trimmed(),
                  c.storedWarning);
        const QTime after = QTime::fromString(c.time, "hh.mm").addSecs(60);
        runUntil(after.hour(), after.minute());
        const std::vector<Opening> shown = {{nbr, "AlarmWnd", c.firing.addSecs(-5).toString("hh:mm:ss")}};
        EXPECT_EQ(openings, shown);
        EXPECT_FALSE(storedDates().count(nbr));
    }
}

} // namespace
} // namespace ven::test
