// The frame as a user meets it: the first start, the single-copy question,
// the chimes, midnight, alarms firing, closing, and every command.
#include "WindowKit.h"

#include "core/ActivityLog.h"
#include "core/AlarmScan.h"
#include "core/FrameCommands.h"
#include "core/FrameSettings.h"
#include "core/CloseVendrolix.h"
#include "core/Globals.h"
#include "core/Halt.h"
#include "core/LoginWnd.h"
#include "core/Main.h"
#include "core/Procedures.h"
#include "data/Dictionary.h"
#include "platform/DateTime.h"
#include "platform/Ini.h"
#include "platform/Shell.h"

#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QLabel>
#include <QMenuBar>
#include <QTimer>

using namespace ven;
using ven::test::WindowKit;

namespace {

// A procedure that notes its start and ends at once.
class Stub : public WindowController {
public:
    explicit Stub(const QString& name) : WindowController(name, def()) {}
    static const WindowDef& def()
    {
        static const WindowDef d{.title = "Stub", .w = 10, .h = 10, .controls = {}};
        return d;
    }

protected:
    bool setUp() override { return false; }
};

// A window that stays open until it is closed.
class Open : public WindowController {
public:
    explicit Open(const QString& name) : WindowController(name, Stub::def()) {}
};

// Counts halts instead of ending; declared before the kit so that windows
// the kit closes at the end still halt into it.
struct HaltWatch {
    int halts = 0;
    HaltWatch() { setHaltHandler([this] { ++halts; }); }
    ~HaltWatch() { setHaltHandler({}); }
};

struct Frame : ::testing::Test {
    HaltWatch watch;
    int& halts = watch.halts;
    WindowKit kit{QDateTime(QDate(2026, 12, 9), QTime(10, 0))};
    std::vector<std::pair<QString, QString>> started;  // procedure, parameter
    std::vector<QString> played;

    Frame()
    {
        InitDataFiles();
        setShellHandler([this] {
            if (ShellOperation == u"Play")
                played.push_back(ShellFile);
            return kShellDone;
        });
    }
    ~Frame() override
    {
        setShellHandler({});
        clearProcedures();
        resetFrameGlobals();
    }
    static void resetFrameGlobals()
    {
        Log_Activity.clear();
        HourBell.clear();
        HalfBell.clear();
        QuarterBell.clear();
        AlertSound.clear();
        NextAlarm = NextAlarmBlock{};
        AlarmsChanged = 0;
        ClosedAlarmNbr = 0;
        CloseRequested = 0;
    }
    // Every named procedure answers by noting its start.
    void stubAll(std::initializer_list<const char*> names)
    {
        for (const char* n : names)
            defineProcedure(n, [this, n](const QString& p) {
                started.emplace_back(n, p);
                return std::make_unique<Stub>(n);
            });
    }
    void owner()
    {
        // A complete owner profile, so that the configuration does not open.
        const QString f = kit.folder("VenOwner.ini");
        for (const char* k : {"FirstName", "LastName", "Street", "ZipCode", "City", "Country", "EMail"})
            writeIni(f, "Owner", k, "x");
        Context ctx;
        ctx.file(VenUsr).open();
    }
    void setting(const char* section, const char* key, const QString& value) { writeIni(kit.ini(), section, key, value); }
    QString ini(const char* section, const char* key) { return readIni(kit.ini(), section, key, "<none>"); }
    QString file(const QString& name)
    {
        QFile f(kit.folder(name));
        f.open(QIODevice::ReadOnly);
        return QString::fromUtf8(f.readAll());
    }
    void startFrame()
    {
        kit.call(std::make_unique<Main>(), NoRequest);
    }
    Main& frame() { return static_cast<Main&>(kit.window("Main")); }
    void at(int h, int m, int s) { kit.clock().set(QDateTime(kit.clock().now().date(), QTime(h, m, s))); }
};

TEST_F(Frame, AFirstStartInAnEmptyFolder)
{
    startFrame();
    ASSERT_TRUE(kit.isOpen("Main"));
    EXPECT_EQ(ini("Paths", "Program_Path"), QDir::toNativeSeparators(kit.folder()));
    EXPECT_EQ(ini("Main", "Vendrolix:Running"), "Yes");
    EXPECT_EQ(ini("Main", "LastOn").toInt(), dayNumber(2026, 12, 9));
    EXPECT_TRUE(QFile::exists(kit.folder("VenUsr.tps")));
    // A blank log mode logs into "Vendrolix.log": the date line, an empty line, the log-in.
    const QStringList log = file("Vendrolix.log").split("\r\n");
    ASSERT_GE(log.size(), 3);
    EXPECT_EQ(log[0], "Wednesday 09 December 2026, Week 49");
    EXPECT_EQ(log[1], "");
    EXPECT_TRUE(log[2].endsWith(" Login: " + CurrentUser + " in " + Program_Path)) << log[2].toStdString();
    // The owner profile is empty, so the configuration is asked for (not built yet).
    ASSERT_FALSE(kit.boxes().empty());
    EXPECT_EQ(kit.boxes().back().text, "The Procedure ConfigureWnd has not been defined.");
    // The title ticks with the clock.
    kit.wait(1000);
    EXPECT_TRUE(frame().window().title().startsWith("10:00:01 \u00b7 Wednesday 09 December 2026, Week 49 \u00b7 "
                                                     "Vendrolix ver. 1.37 12-09-2000 15:12"))
        << frame().window().title().toStdString();
    EXPECT_EQ(frame().frameWindow()->menuBar()->actions().size(), 6);
}

TEST_F(Frame, AChildWindowLargerThanTheFrameCanBeScrolledTo)
{
    owner();
    startFrame();
    ASSERT_TRUE(kit.isOpen("Main"));
    QMdiArea* area = frame().mdiArea();
    area->resize(300, 200);
    QWidget big;
    big.resize(900, 700);
    QMdiSubWindow* sub = area->addSubWindow(&big);
    sub->resize(900, 700);
    sub->show();
    kit.settle();
    EXPECT_GT(area->horizontalScrollBar()->maximum(), 0) << "the right part of the window cannot be reached";
    EXPECT_GT(area->verticalScrollBar()->maximum(), 0) << "the lower part of the window cannot be reached";
    area->removeSubWindow(&big);
    delete sub;
}

TEST_F(Frame, SettingsOfTheWrongKindOrOutOfRangeReadAsBlank)
{
    owner();
    setting("Main", "Calendar", "7");          // 0..3
    setting("Main", "Start_Maximized", "abc");  // not a number
    setting("Main", "LastOn", "-5");
    setting("Main", "Log_Activity", "Daily");   // one letter is taken: "D"
    stubAll({"CalendarWnd"});
    startFrame();
    ASSERT_TRUE(kit.isOpen("Main"));
    EXPECT_EQ(GOpenCalendar, 0);
    EXPECT_EQ(Start_Maximized, 0);
    EXPECT_TRUE(started.empty()) << "no calendar opens";
    EXPECT_EQ(Log_Activity, "D");
    EXPECT_TRUE(QFile::exists(kit.folder("Vendrolix Activity 2026-12-09 Wednesday.log")));
}

// After a saved configuration the frame reads its wallpapers again: a blank
// image keeps the one it wears in the style it wears it in; a stored one
// comes with its style.
TEST_F(Frame, AConfigurationChangeKeepsAShownWallpaperInItsStyleWhenTheStoredOneIsBlank)
{
    owner();
    startFrame();
    ASSERT_TRUE(kit.isOpen("Main"));
    ASSERT_EQ(FrameWallpaper.WallPaper, QDir(kit.folder()).filePath("Tarn-Vel.gif"));
    setting("Main", "WallPaperStyle", "");
    setting("Main", "TbWallPaper", "/img/bar.gif");
    setting("Main", "TbWallPaperStyle", "Centered");
    ConfigChanged = 1;
    kit.wait(1000);
    EXPECT_EQ(ConfigChanged, 0);
    EXPECT_EQ(FrameWallpaper.WallPaper, QDir(kit.folder()).filePath("Tarn-Vel.gif"));
    EXPECT_EQ(FrameWallpaper.WallPaperStyle, "Tiled");
    EXPECT_EQ(FrameWallpaper.TbWallPaper, "/img/bar.gif");
    EXPECT_EQ(FrameWallpaper.TbWallPaperStyle, "Centered");
}

TEST_F(Frame, TheSingleCopyQuestion)
{
    owner();
    setting("Main", "Vendrolix:Running", "Yes");
    kit.answer(2);  // No
    startFrame();
    EXPECT_FALSE(kit.isOpen("Main"));
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_EQ(kit.boxes()[0].caption, "Start Vendrolix?");
    EXPECT_EQ(kit.boxes()[0].defaultButton, 2);
    EXPECT_EQ(ini("Main", "LastOn"), "<none>") << "nothing written";
    EXPECT_EQ(halts, 1) << "No halts the program";
    halts = 0;

    kit.clearBoxes();
    kit.answer(1);  // Yes
    startFrame();
    EXPECT_TRUE(kit.isOpen("Main"));
    EXPECT_EQ(kit.boxes().size(), 1u);
    frame().close(RequestCancelled);
    kit.settle();

    kit.clearBoxes();
    setting("Main", "Vendrolix:Running", "yes");  // letter case counts: no question
    startFrame();
    EXPECT_TRUE(kit.boxes().empty());
    EXPECT_EQ(ini("Main", "Vendrolix:Running"), "Yes");
}

TEST_F(Frame, ChimesOnTheFirstTickAfterSecond45)
{
    owner();
    setting("Paths", "QuarterBell", "q.wav");
    setting("Paths", "HalfBell", "h.wav");
    setting("Paths", "HourBell", "o.wav");
    at(14, 14, 40);
    startFrame();
    played.clear();
    struct Step {
        int h, m, s;
        const char* rings;  // "" none
    } steps[] = {{14, 14, 44, ""}, {14, 14, 46, "\"q.wav\""}, {14, 14, 59, ""}, {14, 29, 30, ""},
                 {14, 29, 45, ""}, {14, 29, 50, "\"h.wav\""}, {14, 44, 10, ""}, {14, 44, 47, "\"q.wav\""},
                 {14, 59, 20, ""}, {14, 59, 46, "\"o.wav\""}};
    for (const Step& s : steps) {
        at(s.h, s.m, s.s - 1);
        kit.wait(1000);
        const QString rang = played.empty() ? QString() : played.back();
        EXPECT_EQ(rang, QString(s.rings)) << s.h << ":" << s.m << ":" << s.s;
        played.clear();
    }
}

TEST_F(Frame, AMissingChimeIsToldInTheLog)
{
    owner();
    setShellHandler({});  // the real shell
    setting("Paths", "QuarterBell", kit.folder("no such bell.wav"));
    at(14, 14, 40);
    startFrame();
    kit.wait(1000);  // a tick before second 45 arms the chime
    at(14, 14, 46);
    kit.wait(1000);
    EXPECT_TRUE(kit.isOpen("Main"));
    EXPECT_TRUE(file("Vendrolix.log").contains("Sound file not found: " + kit.folder("no such bell.wav")))
        << file("Vendrolix.log").toStdString();
}

TEST_F(Frame, MidnightInEveryLogMode)
{
    struct Case {
        const char* mode;
        const char* yesterday;  // the file the midnight line goes to
        const char* today;      // the file of the new day
    } cases[] = {
        {"C", "Vendrolix Activity.log", "Vendrolix Activity.log"},
        {"D", "Vendrolix Activity 2026-12-09 Wednesday.log", "Vendrolix Activity 2026-12-10 Thursday.log"},
        {"W", "Vendrolix Activity Year 2026 Week 49.log", "Vendrolix Activity Year 2026 Week 49.log"},
    };
    owner();
    for (const Case& c : cases) {
        setting("Main", "Log_Activity", c.mode);
        setting("Main", "Vendrolix:Running", "No");
        kit.clock().set(QDateTime(QDate(2026, 12, 9), QTime(23, 59, 50)));
        startFrame();
        kit.wait(11000);  // to 00:00:01
        EXPECT_TRUE(file(c.yesterday).contains(" >>> Midnight <<")) << c.mode;
        const QString today = file(c.today);
        EXPECT_TRUE(today.contains("Thursday 10 December 2026, Week 49")) << c.mode;
        if (QString(c.mode) == "D") {
            EXPECT_TRUE(today.startsWith("Thursday 10 December 2026, Week 49\r\n\r\n00:00:0")) << today.toStdString();
        }
        EXPECT_TRUE(today.contains("New Log File Created") == (QString(c.mode) == "D")) << c.mode;
        EXPECT_EQ(ini("Main", "LastOn").toInt(), dayNumber(2026, 12, 10));
        // Once only.
        kit.wait(10000);
        EXPECT_EQ(file(c.yesterday).count(" >>> Midnight <<"), 1);
        frame().close(RequestCancelled);
        kit.settle();
    }
}

TEST_F(Frame, AMidnightSleptThroughRollsOverOnWaking)
{
    owner();
    setting("Main", "Log_Activity", "D");
    kit.clock().set(QDateTime(QDate(2026, 12, 9), QTime(23, 59, 58)));
    startFrame();
    kit.clock().set(QDateTime(QDate(2026, 12, 10), QTime(7, 30, 0)));  // asleep over midnight
    kit.wait(1000);
    EXPECT_TRUE(file("Vendrolix Activity 2026-12-09 Wednesday.log").contains(" >>> Midnight <<"));
    EXPECT_TRUE(QFile::exists(kit.folder("Vendrolix Activity 2026-12-10 Thursday.log")));
}

// Adds an alarm that fires in the test.
void addAlarm(const char* kind, QTime time, int warning, const char* text, int important = 0)
{
    Context ctx;
    KeyedFile& ala = ctx.file(VenAlarm);
    ala.open();
    ala.primeRecord();
    ala.rec().set(ALA::DATE, dayNumber(2026, 12, 9));
    ala.rec().set(ALA::TIME, timeValue(QTime(time)));
    ala.rec().set(ALA::WARNING, warning);
    ala.rec().set(ALA::MESSAGE, kind);
    ala.rec().set(ALA::DOW, "N");
    ala.rec().set(ALA::ACTION, text);
    ala.rec().set(ALA::IMPORTANT, important);
    ASSERT_TRUE(ala.insert().ok());
}

TEST_F(Frame, APassedDisabledAlarmLeavesTheStatusBarForTheNextOne)
{
    owner();
    stubAll({"AlarmWnd", "WarningWnd"});
    addAlarm("M", QTime(10, 5), 1, "Quiet meeting", 9);  // fires at 10:04, disabled
    addAlarm("M", QTime(14, 0), 1, "Dentist");
    at(10, 3, 0);
    startFrame();
    EXPECT_TRUE(frame().statusZone(2)->text().contains("Quiet meeting")) << frame().statusZone(2)->text().toStdString();
    at(10, 4, 30);
    kit.wait(1000);
    EXPECT_TRUE(started.empty()) << "a disabled alarm opens no window";
    EXPECT_TRUE(frame().statusZone(2)->text().contains("Dentist")) << frame().statusZone(2)->text().toStdString();
}

TEST_F(Frame, AlarmsFireAtTheirSecond)
{
    owner();
    stubAll({"AlarmWnd", "WarningWnd"});
    // A message alarm at 10:15 with a 10-minute advance fires at 10:03:58 ->
    // 10:04:00 (a further 62 seconds, to the minute), its window from five
    // seconds before; an action alarm at 10:30 without advance at 10:30:00,
    // its window a second before, so that it runs the command at 10:30:00.
    addAlarm("M", QTime(10, 15), 60001, "Dentist");
    addAlarm("A", QTime(10, 30), 0, "backup");
    at(10, 3, 50);
    startFrame();
    kit.wait(4000);  // 10:03:54
    EXPECT_TRUE(started.empty());
    kit.wait(1000);  // 10:03:55, five seconds before
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].first, "AlarmWnd");

    // The block has moved on to the next alarm at once; the shown one is not
    // fired again, also after its window closed and the rescan ran.
    EXPECT_EQ(NextAlarm.Kind, "A");
    ++AlarmsChanged;
    at(10, 14, 0);
    kit.wait(12000);
    EXPECT_EQ(started.size(), 1u);
    EXPECT_EQ(NextAlarm.Kind, "A");
    at(10, 29, 58);
    kit.wait(1000);  // 10:29:59
    ASSERT_EQ(started.size(), 2u);
    EXPECT_EQ(started[1].first, "WarningWnd");
}

TEST_F(Frame, ClosingIsRefusedWhileAFormIsOpen)
{
    owner();
    setting("Paths", "AlertSound", "alert.wav");
    startFrame();
    played.clear();
    Busy["DiaryFr"] = 1;
    frame().post(Event::CloseWindow);
    kit.settle();
    EXPECT_TRUE(kit.isOpen("Main"));
    EXPECT_EQ(played, std::vector<QString>{"\"alert.wav\""});
    EXPECT_FALSE(frame().action(kExitButton)->isEnabled());
    // The close asked through the question retries every tick; the alert sounds once.
    played.clear();
    CloseRequested = 1;
    kit.wait(5000);
    EXPECT_TRUE(kit.isOpen("Main"));
    EXPECT_EQ(played.size(), 1u);
    Busy["DiaryFr"] = 0;
    kit.wait(1000);
    EXPECT_FALSE(kit.isOpen("Main"));
    EXPECT_EQ(ini("Main", "Vendrolix:Running"), "No");
}

// A refused close says which form holds it and greys both Exit commands; the
// close asked by the closing question retries every tick and tells once.
TEST_F(Frame, ARefusedCloseNamesTheOpenFormAndGreysExit)
{
    owner();
    startFrame();
    kit.start([] { return std::make_unique<Open>("NameFr"); });
    Busy["NameFr"] = 1;
    frame().post(Event::CloseWindow);
    kit.settle();
    EXPECT_TRUE(kit.isOpen("Main"));
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_EQ(kit.boxes()[0].caption, "Close Vendrolix");
    EXPECT_EQ(kit.boxes()[0].text,
              "Vendrolix cannot close while \"Stub\" is open.\nComplete or cancel it first, then close Vendrolix.");
    EXPECT_FALSE(frame().action(kExitButton)->isEnabled());
    EXPECT_FALSE(frame().action(kExitItem)->isEnabled());
    CloseRequested = 1;
    kit.wait(3000);
    EXPECT_EQ(kit.boxes().size(), 2u) << "the asked close is told once, not every tick";
    Busy["NameFr"] = 0;
    kit.wait(1000);
    EXPECT_FALSE(kit.isOpen("Main"));
}

TEST_F(Frame, EveryCommandReachesItsProcedure)
{
    owner();
    std::vector<const char*> names;
    for (const Command& c : frameCommands())
        if (c.procedure)
            names.push_back(c.procedure);
    for (const HotKey& k : frameHotKeys())
        if (k.procedure)
            names.push_back(k.procedure);
    for (const char* n : names)
        defineProcedure(n, [this, n](const QString& p) {
            started.emplace_back(n, p);
            return std::make_unique<Stub>(n);
        });
    startFrame();
    started.clear();
    for (const Command& c : frameCommands()) {
        if (!c.procedure)
            continue;
        started.clear();
        ASSERT_NE(frame().action(c.number), nullptr) << c.number;
        frame().action(c.number)->trigger();
        kit.settle();
        ASSERT_EQ(started.size(), 1u) << c.number;
        EXPECT_EQ(started[0].first, c.procedure) << c.number;
        EXPECT_EQ(started[0].second, c.how == How::T25C ? "C" : "") << c.number;
    }
    for (const HotKey& k : frameHotKeys()) {
        started.clear();
        frame().window().setFocus();
        kit.key("Main", k.key);
        if (!k.procedure) {
            EXPECT_TRUE(started.empty());
            continue;
        }
        ASSERT_EQ(started.size(), 1u) << QKeySequence(k.key).toString().toStdString();
        EXPECT_EQ(started[0].first, k.procedure);
        EXPECT_EQ(started[0].second, k.parameter);
    }
    // Alt+F4 leaves the day numbers on the clipboard.
    EXPECT_EQ(QApplication::clipboard()->text(), "01.01.1900 = 36163\r\n31.12.2099 = 109211\r\n09.12.2026 = "
                                                   + QString::number(dayNumber(2026, 12, 9)));
}

TEST_F(Frame, AProcedureNotBuiltAnswersWithMessage24)
{
    owner();
    startFrame();
    kit.clearBoxes();
    frame().action(-31)->trigger();  // Diary
    kit.settle();
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_EQ(kit.boxes()[0].caption, "Procedure not defined");
    EXPECT_EQ(kit.boxes()[0].text, "The Procedure DiarySel has not been defined.");
}

TEST_F(Frame, ANamedUserLogsInBeforeTheFrameGoesOn)
{
    owner();
    {
        Context ctx;
        KeyedFile& usr = ctx.file(VenUsr);
        usr.open();
        usr.rec().set(USR::NAME, "Anna Berg");
        usr.rec().set(USR::PWD, "tulip");
        ASSERT_TRUE(usr.insert().ok());
    }
    defineProcedure("LoginWnd", makeLoginWnd);
    startFrame();
    ASSERT_TRUE(kit.isOpen("LoginWnd"));
    EXPECT_FALSE(file("Vendrolix.log").contains("Login: ")) << "the set-up waits for the log-in";
    kit.replaceText("LoginWnd", "Password", "TULIP");
    kit.tab("LoginWnd");
    kit.press("LoginWnd", "OK");
    EXPECT_FALSE(kit.isOpen("LoginWnd"));
    ASSERT_TRUE(kit.isOpen("Main"));
    EXPECT_TRUE(file("Vendrolix.log").contains("Login: Anna Berg in " + Program_Path));
    EXPECT_EQ(frame().statusZone(3)->text(), "Anna Berg");
}

TEST_F(Frame, TheToolbarsExitAsksAndTheFrameClosesOnItsNextTick)
{
    owner();
    defineProcedure("CloseVendrolix", makeCloseVendrolix);
    startFrame();
    frame().action(kExitButton)->trigger();
    kit.settle();
    ASSERT_TRUE(kit.isOpen("CloseVendrolix"));
    kit.press("CloseVendrolix", "Yes");
    EXPECT_FALSE(kit.isOpen("CloseVendrolix"));
    ASSERT_TRUE(kit.isOpen("Main")) << "the frame acts on its next tick";
    kit.wait(1000);
    EXPECT_FALSE(kit.isOpen("Main"));
    EXPECT_EQ(ini("Main", "Vendrolix:Running"), "No");
    EXPECT_TRUE(file("Vendrolix.log").contains("Logout: " + CurrentUser + " (" + Program_Path + ")"));
}

TEST_F(Frame, TheWindowSystemsCloseAsksAsAltF4Does)
{
    owner();
    defineProcedure("CloseVendrolix", makeCloseVendrolix);
    startFrame();
    QApplication::clipboard()->clear();
    // The close box, and Alt+F4 where a window manager takes the key.
    frame().window().outer()->close();
    kit.settle();
    ASSERT_TRUE(kit.isOpen("Main"));
    ASSERT_TRUE(kit.isOpen("CloseVendrolix"));
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith("01.01.1900 = 36163\r\n"));
    EXPECT_EQ(ini("Main", "Vendrolix:Running"), "Yes");
    // Asked again while the question is open: still one question.
    frame().window().outer()->close();
    frame().window().outer()->close();
    kit.settle();
    int questions = 0;
    for (WindowController* w : WindowController::openWindows())
        questions += w->procedure() == u"CloseVendrolix";
    EXPECT_EQ(questions, 1);
    kit.press("CloseVendrolix", "No");
    kit.wait(2000);
    EXPECT_TRUE(kit.isOpen("Main"));
    EXPECT_FALSE(kit.isOpen("CloseVendrolix")) << "no second question waits behind the first";
}

TEST_F(Frame, CommandStatesFollowEveryWindowsOpeningAndClosingAtOnce)
{
    owner();
    startFrame();
    QAction* notes = frame().action(kDailyNotesItem);
    QAction* calendar = frame().action(kCalendarButton);
    QAction* exit = frame().action(kExitButton);
    ASSERT_TRUE(notes->isEnabled());

    kit.start([] { return std::make_unique<Open>("CalendarWnd"); });
    EXPECT_FALSE(notes->isEnabled()) << "no tick, no focus: the opening itself";
    kit.window("CalendarWnd").close(RequestCancelled);
    kit.settle();
    EXPECT_TRUE(notes->isEnabled());

    kit.start([] { return std::make_unique<Open>("NotesBr"); });
    EXPECT_FALSE(calendar->isEnabled());
    kit.window("NotesBr").close(RequestCancelled);
    kit.settle();
    EXPECT_TRUE(calendar->isEnabled());

    // A refused close greys Exit; the form's Cancel gives it back.
    kit.start([] { return std::make_unique<Open>("DiaryFr"); });
    EXPECT_FALSE(exit->isEnabled());
    frame().post(Event::CloseWindow);
    kit.settle();
    ASSERT_TRUE(kit.isOpen("Main"));
    EXPECT_FALSE(exit->isEnabled());
    kit.window("DiaryFr").close(RequestCancelled);
    kit.settle();
    EXPECT_TRUE(exit->isEnabled());

    // A long run's flag, set while its window is open, is followed within a tick.
    Busy["RebuildKeysWnd"] = 1;
    kit.wait(1000);
    EXPECT_FALSE(exit->isEnabled());
    Busy["RebuildKeysWnd"] = 0;
    kit.wait(1000);
    EXPECT_TRUE(exit->isEnabled());
}

TEST_F(Frame, AMissingUserFileEndsTheProgram)
{
    owner();
    QFile::remove(kit.folder("VenUsr.tps"));
    startFrame();
    EXPECT_FALSE(kit.isOpen("Main"));
    ASSERT_FALSE(kit.boxes().empty());
    EXPECT_EQ(kit.boxes().back().text, "User File could not be opened!");
    EXPECT_EQ(kit.boxes().back().caption, "Error!");
    EXPECT_TRUE(file("Vendrolix.log").contains(" User File Missing or Corrupt!"));
    EXPECT_EQ(ini("Main", "Vendrolix:Running"), "No");
    EXPECT_EQ(halts, 1) << "the failure halts the program";
    EXPECT_FALSE(file("Vendrolix.log").contains("Logout:")) << "no closing steps for a user who never logged in";
}

TEST_F(Frame, TheProgramEndsWhenTheFrameHasClosedWhateverElseIsOpen)
{
    owner();
    ven::run(std::make_unique<Main>(), [](uint8_t) { EndEventLoop(5); });
    kit.settle();
    ASSERT_TRUE(kit.isOpen("Main"));
    kit.start([] { return std::make_unique<Open>("ViewerWnd"); });
    ASSERT_TRUE(kit.isOpen("ViewerWnd"));
    frame().close(RequestCancelled);
    bool timedOut = false;
    QTimer::singleShot(3000, [&] {
        timedOut = true;
        QCoreApplication::exit(9);
    });
    const int rc = QCoreApplication::exec();
    EXPECT_FALSE(timedOut) << "the event loop lived on after the frame had closed";
    EXPECT_EQ(rc, 5);
    EXPECT_EQ(ini("Main", "Vendrolix:Running"), "No");
}

// Writers that fail on every tick tell each cause once, not a box a second.
TEST_F(Frame, ALogThatCannotBeWrittenIsToldOnce)
{
    owner();
    setting("Main", "Log_Activity", "C");
    ASSERT_TRUE(QDir(kit.folder()).mkdir("Vendrolix Activity.log"));  // a folder where the log should be
    kit.clock().set(QDateTime(QDate(2026, 12, 9), QTime(23, 59, 50)));
    startFrame();
    ASSERT_TRUE(kit.isOpen("Main"));
    kit.wait(15000);  // the log-in, ticks, midnight and the new day's header
    frame().close(RequestCancelled);  // the log-out line
    kit.settle();
    QStringList told;
    for (const MessageBoxRequest& b : kit.boxes())
        told << b.text;
    const QString log = QDir(kit.folder()).filePath("Vendrolix Activity.log");
    EXPECT_EQ(told, (QStringList{"File could NOT be opened: " + log, "Write Error: " + log + ": Is a directory"}));
}

TEST_F(Frame, ASettingsFileThatCannotBeWrittenIsToldOnceAndTheGuardSaysSo)
{
    owner();
    const QByteArray damaged("[Main]\nVendrolix:Running=No\n\0\0", 30);
    {
        QFile f(kit.ini());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(damaged);
    }
    startFrame();
    ASSERT_TRUE(kit.isOpen("Main"));
    kit.wait(3000);
    frame().close(RequestCancelled);  // "Vendrolix:Running" and the placement fail again
    kit.settle();
    ASSERT_EQ(kit.boxes().size(), 2u);
    EXPECT_EQ(kit.boxes()[0].text, "Write Error: " + kit.ini() + ": it is not a settings file (it holds NUL bytes)");
    EXPECT_EQ(kit.boxes()[1].caption, "Warning!");
    EXPECT_TRUE(kit.boxes()[1].text.contains("A second copy started now will not be warned")) << kit.boxes()[1].text.toStdString();
    QFile f(kit.ini());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), damaged) << "left as it was";
}

} // namespace
