// The frame behind its notification-area icon (with and without an area),
// the lock, the about window, the floating button, the backup, the key
// rebuild and the alarm renumbering, as a person meets them.
#include "WindowKit.h"

#include "core/AboutWnd.h"
#include "core/AlarmScan.h"
#include "core/BackUpWnd.h"
#include "core/ButtonWnd.h"
#include "core/Globals.h"
#include "core/LockVendrolixWnd.h"
#include "core/Main.h"
#include "core/Procedures.h"
#include "core/RebuildKeysWnd.h"
#include "core/SortAlarms.h"
#include "data/Dictionary.h"
#include "platform/DateTime.h"
#include "platform/Ini.h"
#include "platform/Shell.h"
#include "platform/TrayIcon.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMainWindow>
#include <QThread>

namespace ven::test {
namespace {

class Quiet : public WindowController {
public:
    explicit Quiet(const QString& name) : WindowController(name, def()) {}
    static const WindowDef& def()
    {
        static const WindowDef d{.title = "Quiet", .w = 10, .h = 10, .controls = {}};
        return d;
    }

protected:
    bool setUp() override { return false; }
};

struct Maintenance : ::testing::Test {
    WindowKit kit{QDateTime(QDate(2026, 12, 9), QTime(10, 0))};
    FakeTrayIcon* tray = nullptr;
    bool area = true;
    std::vector<QString> started;

    Maintenance()
    {
        InitDataFiles();
        setShellHandler([] { return kShellDone; });
        setTrayIconMaker([this] {
            auto t = std::make_unique<FakeTrayIcon>(area);
            tray = t.get();
            return t;
        });
        Log_Activity = "N";
        InTray = 0;
    }
    ~Maintenance() override
    {
        clearProcedures();
        setTrayIconMaker({});
        setShellHandler({});
        InTray = 0;
        LockRequested = UnlockRequested = RestoreRequested = 0;
        AlarmsChanged = 0;
        NextAlarm = {};
        Log_Activity.clear();
    }
    void startFrame()
    {
        const QString f = kit.folder("VenOwner.ini");
        for (const char* k : {"FirstName", "LastName", "Street", "ZipCode", "City", "Country", "EMail"})
            writeIni(f, "Owner", k, "x");
        Context ctx;
        ctx.file(VenUsr).open();
        for (const char* n : {"LoginWnd", "TimeDisplayWnd", "CalendarWnd", "ButtonWnd"})
            defineProcedure(n, [this, n](const QString&) {
                started.push_back(n);
                return std::make_unique<Quiet>(n);
            });
        kit.call(std::make_unique<Main>(), NoRequest);
        ASSERT_TRUE(kit.isOpen("Main"));
    }
    QWidget* frame() { return kit.window("Main").window().outer(); }
    void iconize()
    {
        kit.window("Main").post(Event::Iconized);
        kit.settle();
    }
    void addAlarm(int nbr, int dry)
    {
        Context ctx;
        KeyedFile& f = ctx.file(VenAlarm);
        ASSERT_TRUE(f.open());
        f.rec().clear();
        f.rec().set(ALA::NBR, nbr);
        f.rec().set(ALA::DATE, dayNumber(2027, 1, 1) + nbr);
        f.rec().set(ALA::TIME, 3600001);
        f.rec().set(ALA::DRYNUM, dry);
        f.rec().set(ALA::MESSAGE, "M");
        f.rec().set(ALA::ACTION, QStringLiteral("Alarm %1").arg(nbr));
        ASSERT_TRUE(f.add());
    }
    // The alarms as "number:diary:text", by number.
    static QStringList alarms()
    {
        Context ctx;
        KeyedFile& f = ctx.file(VenAlarm);
        f.open();
        QStringList out;
        for (f.set(ALA::NBR_KEY); f.next().ok();)
            out << QStringLiteral("%1:%2:%3").arg(f.rec().num(ALA::NBR)).arg(f.rec().num(ALA::DRYNUM)).arg(f.rec().str(ALA::ACTION));
        return out;
    }
    // Lets the window's ticks pass until it closes; its work on worker
    // threads takes real time, so the bound is real time too.
    void runUntilClosed(const QString& procedure)
    {
        QElapsedTimer spent;
        spent.start();
        while (kit.isOpen(procedure) && spent.elapsed() < 60000) {
            kit.wait(1000);
            QThread::msleep(1);
        }
    }
};

TEST_F(Maintenance, TheFrameHidesBehindItsIconAndComesBack)
{
    startFrame();
    iconize();
    ASSERT_TRUE(tray);
    EXPECT_TRUE(tray->isShown());
    EXPECT_FALSE(frame()->isVisible());
    EXPECT_EQ(InTray, 1);
    EXPECT_EQ(tray->menu(), (QStringList{"&Restore", "-", "&Close"}));
    tray->click(TrayIcon::Click::Left);
    kit.settle();
    EXPECT_TRUE(frame()->isVisible());
    EXPECT_FALSE(tray->isShown());
    EXPECT_EQ(InTray, 0);

    // The area goes away while the frame is hidden: the frame comes back.
    iconize();
    ASSERT_FALSE(frame()->isVisible());
    tray->setAvailable(false);
    kit.wait(1000);
    EXPECT_TRUE(frame()->isVisible());
    EXPECT_EQ(InTray, 0);
}

TEST_F(Maintenance, WithoutANotificationAreaTheFrameMinimisesAndStaysReachable)
{
    area = false;
    startFrame();
    iconize();
    EXPECT_FALSE(tray->isShown());
    EXPECT_TRUE(frame()->isVisible());
    EXPECT_TRUE(frame()->isMinimized());
    EXPECT_EQ(InTray, 0);
}

TEST_F(Maintenance, LockedTheProgramStaysHiddenUntilTheSamePassword)
{
    startFrame();
    kit.start([] { return makeAboutWnd({}); });
    ASSERT_TRUE(kit.isOpen("AboutWnd"));
    QWidget* about = kit.window("AboutWnd").window().outer();
    kit.start([] { return makeLockVendrolixWnd({}); });
    const QString lock = QStringLiteral("LockVendrolixWnd");
    ASSERT_TRUE(kit.isOpen(lock));
    kit.press(lock, "Lock");  // blank: nothing happens
    EXPECT_TRUE(kit.control(lock, "Lock").isEnabled());
    kit.type(lock, "LockPwd", "Sesame");
    kit.enter(lock);
    EXPECT_FALSE(kit.control(lock, "Lock").isEnabled());
    EXPECT_FALSE(kit.control(lock, "Cancel").isVisible());
    EXPECT_TRUE(kit.text(lock, "LockPwd").isEmpty());
    EXPECT_FALSE(about->isVisible()) << "every other window hides";
    kit.wait(1000);
    EXPECT_FALSE(frame()->isVisible());

    // A click on the icon, Escape, Alt+F4 and the window manager's close open nothing.
    tray->click(TrayIcon::Click::Left);
    kit.settle();
    kit.wait(1000);
    EXPECT_FALSE(frame()->isVisible());
    kit.escape(lock);
    kit.key(lock, (Qt::ALT | Qt::Key_F4).toCombined());
    kit.window(lock).close(RequestCancelled);
    kit.settle();
    ASSERT_TRUE(kit.isOpen(lock));
    kit.window("Main").close(RequestCancelled);
    kit.settle();
    EXPECT_TRUE(kit.isOpen("Main")) << "the program does not close while locked";

    // Letter case counts; trailing blanks do not.
    kit.type(lock, "OpenPwd", "sesame");
    kit.press(lock, "Open");
    ASSERT_TRUE(kit.isOpen(lock));
    EXPECT_TRUE(kit.text(lock, "OpenPwd").isEmpty());
    kit.type(lock, "OpenPwd", "Sesame  ");
    kit.enter(lock);
    EXPECT_FALSE(kit.isOpen(lock));
    kit.wait(1000);
    EXPECT_TRUE(frame()->isVisible());
    EXPECT_TRUE(about->isVisible());
    // The password went nowhere.
    QFile ini(kit.ini());
    ini.open(QIODevice::ReadOnly);
    EXPECT_FALSE(ini.readAll().contains("Sesame"));
}

TEST_F(Maintenance, TheLockWindowHidesNothingBeforeItLocksAndCancelLeavesAllAsItWas)
{
    startFrame();
    kit.start([] { return makeAboutWnd({}); });
    QWidget* about = kit.window("AboutWnd").window().outer();
    kit.start([] { return makeLockVendrolixWnd({}); });
    const QString lock = QStringLiteral("LockVendrolixWnd");
    ASSERT_TRUE(kit.isOpen(lock));
    kit.type(lock, "LockPwd", "Ses");  // typed, not locked
    kit.wait(3000);
    EXPECT_TRUE(frame()->isVisible());
    EXPECT_FALSE(frame()->isMinimized());
    EXPECT_EQ(InTray, 0);
    // A restore before locking is an ordinary one.
    iconize();
    tray->click(TrayIcon::Click::Left);
    kit.settle();
    kit.wait(1000);
    EXPECT_TRUE(frame()->isVisible());
    kit.press(lock, "Cancel");
    EXPECT_FALSE(kit.isOpen(lock));
    kit.wait(2000);
    EXPECT_TRUE(frame()->isVisible());
    EXPECT_FALSE(frame()->isMinimized());
    EXPECT_TRUE(about->isVisible());
    EXPECT_EQ(InTray, 0);
}

TEST_F(Maintenance, AboutNamesTheBuildAndLeftAloneHandsOverToTheButton)
{
    startFrame();
    BuildDate = kit.clock().today() - 31;
    kit.start([] { return makeAboutWnd({}); });
    EXPECT_TRUE(kit.window("AboutWnd").window().title().contains(", Compiled "));
    kit.press("AboutWnd", "Continue");
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_TRUE(kit.boxes()[0].text.startsWith("This version is rather old!"));
    kit.clearBoxes();
    BuildDate = kit.clock().today() - 30;
    kit.start([] { return makeAboutWnd({}); });
    kit.press("AboutWnd", "Continue");
    EXPECT_TRUE(kit.boxes().empty());

    started.clear();
    kit.start([] { return makeAboutWnd({}); });
    for (int i = 0; i < 299; ++i)
        kit.wait(1000);
    EXPECT_TRUE(kit.isOpen("AboutWnd"));
    kit.wait(1000);
    EXPECT_FALSE(kit.isOpen("AboutWnd"));
    EXPECT_EQ(started, std::vector<QString>{"ButtonWnd"});
}

TEST_F(Maintenance, TheFloatingButtonEscapesAFewTimesAndClosingItRestores)
{
    kit.start([] { return makeButtonWnd({}); });
    ASSERT_TRUE(kit.isOpen("ButtonWnd"));
    QWidget* w = kit.window("ButtonWnd").window().outer();
    const QRect area = kit.window("ButtonWnd").window().availableArea();
    int escapes = 0;
    while (kit.isOpen("ButtonWnd") && escapes < 20) {
        EXPECT_TRUE(area.contains(w->frameGeometry())) << "kept on the screen";
        kit.window("ButtonWnd").raiseFieldEvent("Hot", FieldEvent::MouseIn);
        kit.settle();
        ++escapes;
    }
    EXPECT_FALSE(kit.isOpen("ButtonWnd"));
    EXPECT_GE(escapes, 5);
    EXPECT_LE(escapes, 14);
    EXPECT_EQ(RestoreRequested, 1);
    RestoreRequested = 0;
    kit.start([] { return makeButtonWnd({}); });
    kit.press("ButtonWnd", "Smile");
    EXPECT_FALSE(kit.isOpen("ButtonWnd"));
    EXPECT_EQ(RestoreRequested, 1);
}

TEST_F(Maintenance, BackupsAlternateAndAFailureKeepsTheLastGoodSet)
{
    addAlarm(1, 0);
    addAlarm(2, 5);
    const QString base = kit.folder("Backup/Set");
    writeIni(kit.ini(), "Paths", "BackUp_Path", base);
    // The very first backup fails: no set is said to be kept.
    QDir().mkpath(kit.folder("Backup"));
    QFile first(base + "#1");
    ASSERT_TRUE(first.open(QIODevice::WriteOnly));
    first.close();
    kit.start([] { return makeBackUpWnd({}); });
    kit.press("BackUpWnd", "Data");
    runUntilClosed("BackUpWnd");
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_TRUE(kit.boxes()[0].text.endsWith("\nThere is no earlier backup set.")) << kit.boxes()[0].text.toStdString();
    EXPECT_EQ(readIni(kit.ini(), "Main", "BackUp_Set", "?"), "?");
    kit.clearBoxes();
    QFile::remove(base + "#1");

    kit.start([] { return makeBackUpWnd({}); });
    kit.press("BackUpWnd", "Data");
    runUntilClosed("BackUpWnd");
    ASSERT_FALSE(kit.isOpen("BackUpWnd"));
    EXPECT_TRUE(kit.boxes().empty());
    EXPECT_EQ(readIni(kit.ini(), "Main", "BackUp_Set", "?"), "1");
    EXPECT_EQ(readIni(kit.ini(), "Main", "BackUp_Date", "?").toInt(), kit.clock().today());
    // The copy opens (enciphered under the same key) and holds the same alarms.
    const QStringList live = alarms();
    Store::instance().closeIdle();
    Store::instance().setFolder(base + "#1");
    EXPECT_EQ(alarms(), live);
    Store::instance().closeIdle();
    Store::instance().setFolder(kit.folder());

    // The next set cannot be written: told, and the bookkeeping stays.
    QFile blocker(base + "#2");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    kit.start([] { return makeBackUpWnd({}); });
    kit.press("BackUpWnd", "All");
    runUntilClosed("BackUpWnd");
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_TRUE(kit.boxes()[0].text.contains("FAILED"));
    EXPECT_TRUE(kit.boxes()[0].text.endsWith("\nThe last good set " + base + "#1 is kept.")) << kit.boxes()[0].text.toStdString();
    EXPECT_EQ(readIni(kit.ini(), "Main", "BackUp_Set", "?"), "1");

    // Without a path it says so and copies nothing.
    kit.clearBoxes();
    writeIni(kit.ini(), "Paths", "BackUp_Path", "");
    kit.start([] { return makeBackUpWnd({}); });
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_TRUE(kit.boxes()[0].text.startsWith("Backup Path NOT defined yet!"));
    EXPECT_FALSE(kit.isOpen("BackUpWnd"));
}

TEST_F(Maintenance, AllCopiesTheProgramFolderButNotTheSetsIntoThemselves)
{
    QDir().mkpath(kit.folder("Pictures"));
    QFile pic(kit.folder("Pictures/a.gif"));
    ASSERT_TRUE(pic.open(QIODevice::WriteOnly));
    pic.write("GIF89a");
    pic.close();
    const QString base = kit.folder("Backup");
    writeIni(kit.ini(), "Paths", "BackUp_Path", base);
    kit.start([] { return makeBackUpWnd({}); });
    kit.press("BackUpWnd", "All");
    runUntilClosed("BackUpWnd");
    EXPECT_TRUE(kit.boxes().empty());
    EXPECT_TRUE(QFile::exists(base + "#1/Pictures/a.gif"));
    EXPECT_TRUE(QFile::exists(base + "#1/Vendrolix.ini"));
    EXPECT_FALSE(QFile::exists(base + "#1/Backup#1"));
}

// A backup path that leads into the program folder through a link: each
// set holds the program's files but never a set, so backups do not nest.
TEST_F(Maintenance, SetsReachedThroughALinkAreNeverCopiedIntoEachOther)
{
    QTemporaryDir outside;
    ASSERT_TRUE(QFile::link(kit.folder(), outside.filePath("lnk")));
    writeIni(kit.ini(), "Paths", "BackUp_Path", outside.filePath("lnk/VendBack"));
    for (int run = 0; run < 3; ++run) {
        kit.start([] { return makeBackUpWnd({}); });
        kit.press("BackUpWnd", "All");
        runUntilClosed("BackUpWnd");
        ASSERT_FALSE(kit.isOpen("BackUpWnd"));
    }
    EXPECT_TRUE(kit.boxes().empty());
    EXPECT_EQ(readIni(kit.ini(), "Main", "BackUp_Set", "?"), "1");
    for (const char* set : {"VendBack#1", "VendBack#2"}) {
        const QDir dir(kit.folder(set));
        EXPECT_TRUE(dir.exists("Vendrolix.ini")) << set;
        EXPECT_EQ(dir.entryList({"VendBack*"}, QDir::AllEntries | QDir::NoDotAndDotDot), QStringList()) << set;
    }
}

TEST_F(Maintenance, TheRebuildReportsAFileInUseAndRenumbersTheAlarms)
{
    for (int n : {3, 8, 20})
        addAlarm(n, n * 10);
    Context other;
    ASSERT_TRUE(other.file(VenNam).open());
    kit.start([] { return makeRebuildKeysWnd({}); });
    kit.press("RebuildKeysWnd", "Yes");
    EXPECT_EQ(Busy.get("RebuildKeysWnd"), 1);
    kit.window("RebuildKeysWnd").close(RequestCancelled);
    kit.settle();
    EXPECT_TRUE(kit.isOpen("RebuildKeysWnd")) << "no close while it runs";
    runUntilClosed("RebuildKeysWnd");
    EXPECT_FALSE(kit.isOpen("RebuildKeysWnd"));
    EXPECT_EQ(Busy.get("RebuildKeysWnd"), 0);
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_TRUE(kit.boxes()[0].text.startsWith("VenNam.tps: ")) << kit.boxes()[0].text.toStdString();
    EXPECT_EQ(alarms(), (QStringList{"1:30:Alarm 3", "2:80:Alarm 8", "3:200:Alarm 20"}));
}

TEST_F(Maintenance, SortAlarmsRenumbersInOrderAndIsRefusedBesideAnAlarmForm)
{
    for (int n : {3, 8, 20})
        addAlarm(n, n);
    NextAlarm.Pending = 1;
    NextAlarm.Nbr = 20;
    ClosedAlarmNbr = 8;
    Busy["UpdateVenAlarm"] = 2;
    kit.start([] { return makeSortAlarms({}); });
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_EQ(kit.boxes()[0].caption, "Error!");
    EXPECT_EQ(alarms(), (QStringList{"3:3:Alarm 3", "8:8:Alarm 8", "20:20:Alarm 20"}));
    Busy["UpdateVenAlarm"] = 0;
    kit.clearBoxes();
    AlarmsChanged = 0;
    kit.start([] { return makeSortAlarms({}); });
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_EQ(kit.boxes()[0].text, "Alarms Sorted!\n3 Records");
    EXPECT_EQ(alarms(), (QStringList{"1:3:Alarm 3", "2:8:Alarm 8", "3:20:Alarm 20"}));
    EXPECT_EQ(NextAlarm.Nbr, 3) << "the shown alarm follows its number";
    EXPECT_EQ(ClosedAlarmNbr, 2);
    EXPECT_GE(AlarmsChanged, 1);
}

} // namespace
} // namespace ven::test
