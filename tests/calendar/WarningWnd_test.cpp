// The command-alarm window on the fake clock: the alert sounds, running the
// command (split arguments, no shell), "VIEW", the log line, moving the
// alarm on by its repeat code or deleting it, and stray keys.
#include "AlarmKit.h"

#include "calendar/WarningWnd.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QThread>

namespace ven::test {
namespace {

QString currentFolder()
{
    return QDir::toNativeSeparators(QDir::currentPath());
}

// Stands in for the text viewer: it takes its file and opens no window.
class Viewer : public WindowController {
public:
    Viewer() : WindowController("ViewerWnd", def()) {}
    static const WindowDef& def()
    {
        static const WindowDef d{.title = "Viewer", .controls = {}};
        return d;
    }

protected:
    bool setUp() override { return false; }
};

class WarningWndTest : public AlarmTest {
protected:
    void TearDown() override
    {
        StartAlarmWindow = nullptr;
        AlarmTest::TearDown();
    }
    void setMoment(QDate day, QTime time) { kit.clock().set(QDateTime(day, time)); }

    void addAlarm(int nbr, int32_t date, int32_t time, int32_t warning, const QString& dow, uint8_t important,
                  const QString& command)
    {
        Context ctx;
        KeyedFile& f = ctx.file(VenAlarm);
        ASSERT_TRUE(f.open().ok());
        f.rec().clear();
        f.rec().set(ALA::NBR, nbr);
        f.rec().set(ALA::DATE, date);
        f.rec().set(ALA::TIME, time);
        f.rec().set(ALA::WARNING, warning);
        f.rec().set(ALA::MESSAGE, "A");
        f.rec().set(ALA::DOW, dow);
        f.rec().set(ALA::IMPORTANT, important);
        f.rec().set(ALA::SOUND, command);
        ASSERT_TRUE(f.add().ok());
        f.close();
    }
    // The alarm's date; 0 when it is gone.
    int32_t alarmDate(int nbr)
    {
        Context ctx;
        KeyedFile& f = ctx.file(VenAlarm);
        EXPECT_TRUE(f.open().ok());
        f.rec().clear();
        f.rec().set(ALA::NBR, nbr);
        const int32_t date = f.get(ALA::NBR_KEY).ok() ? int32_t(f.rec().num(ALA::DATE)) : 0;
        f.close();
        return date;
    }
    std::vector<ShellCall> opened() const
    {
        std::vector<ShellCall> v;
        for (const ShellCall& c : shell.calls)
            if (c.show == 1)
                v.push_back(c);
        return v;
    }
};

TEST_F(WarningWndTest, SoundsTheAlertEvery15SecondsAndRunsTheCommandAsItsTimeComes)
{
    AlertSound = "alert.wav ";
    // 10:00 with an advance of 1 minute: fires 09:59:00 and runs the command at 10:00.
    NextAlarm = block(5, "A", at(10, 0), minutes(1), "tune.mid", "-loop");
    setMoment(QDate(2026, 12, 9), QTime(9, 59));
    ASSERT_TRUE(showAlarmWindow(NextAlarm));
    kit.settle();
    ASSERT_TRUE(kit.isOpen("WarningWnd"));
    EXPECT_EQ(kit.text("WarningWnd", "Countdown"), " 0 01 02");
    EXPECT_FALSE(kit.control("WarningWnd", "OK").isVisible());
    kit.wait(1000);
    EXPECT_TRUE(kit.control("WarningWnd", "OK").isEnabled());
    runUntilClosed("WarningWnd");
    EXPECT_EQ(now(), "10:00:00");

    ASSERT_EQ(shell.calls.size(), 5u);
    for (int i = 0; i < 4; ++i) {
        const ShellCall& c = shell.calls[i];
        EXPECT_EQ(c.operation + c.file + c.directory + QString::number(c.show), "Play\"alert.wav\"" + currentFolder() + "0");
    }
    EXPECT_EQ(shell.calls[0].at, "09:59:00");
    EXPECT_EQ(shell.calls[1].at, "09:59:15");
    EXPECT_EQ(shell.calls[2].at, "09:59:30");
    EXPECT_EQ(shell.calls[3].at, "09:59:45");
    const ShellCall& run = shell.calls[4];
    EXPECT_EQ(run.operation, "Play");  // a MIDI file is played
    EXPECT_EQ(run.file, "\"tune.mid\"");
    EXPECT_EQ(run.parameters, "-loop");
    EXPECT_EQ(run.directory, currentFolder());
    EXPECT_EQ(run.show, 1);
    EXPECT_EQ(logText(), DateLine + "\r\n\r\n10:00:00 tune.mid -loop\r\n");
    EXPECT_EQ(ClosedAlarmNbr, 5);
    EXPECT_EQ(AlarmsChanged, 1);
    EXPECT_EQ(NextAlarm.Pending, 0);
    EXPECT_EQ(Running.get("WarningWnd"), 0);
}

TEST_F(WarningWndTest, WithoutAdvanceItRunsAtItsTimePlayingOrOpeningByTheExtension)
{
    const std::pair<const char*, const char*> cases[] = {
        {"song.WAV", "Play"}, {"list.m3u", "Play"}, {"old.rmi", "Play"}, {"letter.doc", "Open"}, {"backup", "Open"},
        {"sh", "Start"}};  // a program found on PATH starts
    int nbr = 10;
    for (const auto& [command, verb] : cases) {
        SCOPED_TRACE(command);
        setMoment(QDate(2026, 12, 9), QTime(9, 59, 58));  // opened early: it waits for its time
        ASSERT_TRUE(showAlarmWindow(block(++nbr, "A", at(10, 0), minutes(0), command, "")));
        kit.settle();
        kit.wait(1000);
        EXPECT_TRUE(kit.isOpen("WarningWnd"));
        EXPECT_TRUE(opened().empty());
        kit.wait(1000);
        EXPECT_FALSE(kit.isOpen("WarningWnd"));
        ASSERT_EQ(opened().size(), 1u);
        EXPECT_EQ(opened()[0].operation, verb);
        EXPECT_EQ(opened()[0].at, "10:00:00");
        shell.calls.clear();
    }
}

// The command could not run: the user is told, and the log says it failed.
TEST_F(WarningWndTest, AMissingProgramIsLoggedAsFailed)
{
    setShellHandler({});  // the real shell
    setMoment(QDate(2026, 12, 9), QTime(9, 59, 59));
    ASSERT_TRUE(showAlarmWindow(block(4, "A", at(10, 0), minutes(0), "no-such-program", "--all")));
    kit.settle();
    kit.wait(1000);
    ASSERT_FALSE(kit.isOpen("WarningWnd"));
    const QString missing = QDir(currentFolder()).filePath("no-such-program");
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_EQ(kit.boxes()[0].text, "File not found: " + missing);
    EXPECT_EQ(logText(), DateLine + "\r\n\r\n10:00:00 no-such-program --all - failed: File not found: " + missing + "\r\n");
}

// An alert sound that cannot play is logged once; the window beeps instead.
TEST_F(WarningWndTest, AnAlertSoundThatCannotPlayIsLoggedOnce)
{
    setShellHandler({});
    AlertSound = "missing-alert.wav";
    setMoment(QDate(2026, 12, 9), QTime(9, 59));
    ASSERT_TRUE(showAlarmWindow(block(5, "A", at(10, 0), minutes(1), "backup", "")));
    kit.settle();
    for (int i = 0; i < 50; ++i)
        kit.wait(1000);
    ASSERT_TRUE(kit.isOpen("WarningWnd"));
    kit.press("WarningWnd", "Cancel");
    EXPECT_EQ(logText().count("Sound file not found"), 1) << logText().toStdString();
}

TEST_F(WarningWndTest, StartsAProgramWithItsArgumentsSplitAndNoShellBetween)
{
    setShellHandler({});  // the real shell
    const QString script = kit.folder("run.sh");
    {
        QFile f(script);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(("#!/bin/sh\nfor a in \"$@\"; do echo \"[$a]\"; done > \"" + kit.folder("args.tmp") + "\"\nmv \""
                 + kit.folder("args.tmp") + "\" \"" + kit.folder("args.txt") + "\"\n")
                    .toUtf8());
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    setMoment(QDate(2026, 12, 9), QTime(9, 59, 59));
    ASSERT_TRUE(showAlarmWindow(block(3, "A", at(10, 0), minutes(0), script, "-a \"two words\" ;touch injected")));
    kit.settle();
    kit.wait(1000);
    ASSERT_FALSE(kit.isOpen("WarningWnd"));
    QElapsedTimer waited;
    waited.start();
    while (!QFile::exists(kit.folder("args.txt")) && waited.elapsed() < 10000)
        QThread::msleep(20);
    QFile args(kit.folder("args.txt"));
    ASSERT_TRUE(args.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(args.readAll()), "[-a]\n[two words]\n[;touch]\n[injected]\n");
    EXPECT_FALSE(QFile::exists(kit.folder("injected")));
    EXPECT_TRUE(logText().endsWith("10:00:00 " + script + " -a \"two words\" ;touch injected\r\n"));
}

TEST_F(WarningWndTest, ViewShowsTheTextFileInTheViewerAndLogsNothing)
{
    setMoment(QDate(2026, 12, 9), QTime(9, 59, 59));
    // Before the viewer exists, starting it by name says so.
    ASSERT_TRUE(showAlarmWindow(block(1, "A", at(10, 0), minutes(0), "view", "notes.txt")));
    kit.settle();
    kit.wait(1000);
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_EQ(kit.boxes()[0].text, "The Procedure ViewerWnd has not been defined.");

    QString shown, folder;
    defineProcedure("ViewerWnd", [&](const QString&) -> std::unique_ptr<WindowController> {
        shown = ShellFile;
        folder = ShellDirectory;
        return std::make_unique<Viewer>();
    });
    ShellFile.clear();
    ASSERT_TRUE(showAlarmWindow(block(2, "A", at(10, 0, 30), minutes(0), "VIEW", "notes.txt")));
    kit.settle();
    runUntilClosed("WarningWnd");
    kit.settle();
    EXPECT_EQ(shown, "notes.txt");
    EXPECT_EQ(folder, currentFolder());
    EXPECT_TRUE(opened().empty());
    EXPECT_FALSE(QFile::exists(logFile()));
    EXPECT_EQ(ClosedAlarmNbr, 2);
}

TEST_F(WarningWndTest, MovesItsAlarmOnByItsRepeatCodeOrDeletesIt)
{
    const QDate wednesday(2026, 12, 9), friday(2026, 12, 11);
    struct Case {
        QDate day;
        const char* dow;
        bool cancel;
        int daysLater;  // -1: deleted
    } const cases[] = {
        {friday, "8", true, 3},      // cancelled on a Friday: the Monday after, and nothing runs
        {friday, "9", false, 1},
        {wednesday, "0", false, 1},
        {wednesday, "3", false, 6},  // the next Tuesday
        {wednesday, "N", false, -1}, // one-time: deleted whether it ran
        {wednesday, "N", true, -1},  // or was cancelled
    };
    int nbr = 30;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "code " << c.dow << " cancel " << c.cancel);
        shell.calls.clear();
        const int32_t date = dayNumber(c.day);
        addAlarm(++nbr, date, at(10, 0), minutes(1), c.dow, 0, "backup");
        Context frame;
        ScanAlarms(frame, date, at(9, 58));
        ASSERT_EQ(NextAlarm.Nbr, nbr);
        setMoment(c.day, QTime(9, 59));
        ASSERT_TRUE(showAlarmWindow(NextAlarm));
        kit.settle();
        kit.wait(1000);
        kit.press("WarningWnd", c.cancel ? "Cancel" : "OK");
        EXPECT_FALSE(kit.isOpen("WarningWnd"));
        EXPECT_EQ(opened().size(), c.cancel ? 0u : 1u);
        EXPECT_EQ(alarmDate(nbr), c.daysLater < 0 ? 0 : date + c.daysLater);
        EXPECT_EQ(NextAlarm.Pending, 0);
        if (c.cancel) {
            EXPECT_EQ(NextAlarmLine, "Alarm Cancelled!");
        }
    }
}

TEST_F(WarningWndTest, APassedImportantAlarmMovedOnByTheScanIsNotMovedAgain)
{
    // 09:00 daily, important, and the program starts at 09:49 of its day.
    addAlarm(8, today(), at(9, 0), minutes(0), "0", 1, "backup");
    addAlarm(9, today(), at(11, 0), minutes(0), "N", 0, "report");
    StartAlarmWindow = [](const NextAlarmBlock& b) { showAlarmWindow(b); };
    Context frame;
    ScanAlarms(frame);
    EXPECT_EQ(alarmDate(8), today() + 1);
    ASSERT_EQ(NextAlarm.Nbr, 9);
    kit.settle();
    ASSERT_TRUE(kit.isOpen("WarningWnd"));
    EXPECT_EQ(kit.text("WarningWnd", "NextAlarmText"), "09.00 Execute:\nbackup\n");
    runUntilClosed("WarningWnd");
    ASSERT_EQ(opened().size(), 1u);
    EXPECT_EQ(opened()[0].file, "\"backup\"");
    EXPECT_EQ(alarmDate(8), today() + 1);  // tomorrow's 09:00 is kept
    EXPECT_EQ(NextAlarm.Pending, 1);       // and the next alarm stays in the block
    EXPECT_EQ(NextAlarm.Nbr, 9);
    // The next scan does not open it again.
    ScanAlarms(frame);
    kit.settle();
    EXPECT_FALSE(kit.isOpen("WarningWnd"));
}

TEST_F(WarningWndTest, EnterTypedElsewhereDoesNotRunTheCommandEarly)
{
    QLineEdit letter;
    letter.show();
    setMoment(QDate(2026, 12, 9), QTime(9, 49));
    ASSERT_TRUE(showAlarmWindow(block(6, "A", at(10, 0), minutes(10), "backup", "")));
    kit.settle();
    kit.wait(1000);
    kit.key("WarningWnd", Qt::Key_Return);
    kit.key("WarningWnd", Qt::Key_Return, "OK");
    EXPECT_TRUE(kit.isOpen("WarningWnd"));
    letter.activateWindow();
    letter.setFocus();
    kit.settle();
    ASSERT_EQ(QApplication::activeWindow(), &letter);
    for (int i = 0; i < 5; ++i) {
        kit.wait(1000);
        EXPECT_EQ(QApplication::activeWindow(), &letter);
    }
    QTest::keyClick(&letter, Qt::Key_Return);
    kit.settle();
    EXPECT_TRUE(kit.isOpen("WarningWnd"));
    EXPECT_TRUE(opened().empty());
    kit.press("WarningWnd", "Cancel");
    EXPECT_TRUE(opened().empty());
}

} // namespace
} // namespace ven::test
