// The text viewers and editor launchers as a user meets them: the lines a
// viewer shows, the log viewer following the log, the auto-close counters,
// a double or right click, Edit, and the file each launcher hands the shell.
#include "WindowKit.h"

#include "core/ActivityLog.h"
#include "core/EditHelp.h"
#include "core/EditLog.h"
#include "core/EditQuickNote.h"
#include "core/EditTextFile.h"
#include "core/Globals.h"
#include "core/HelpWnd.h"
#include "core/Procedures.h"
#include "core/MemoWnd.h"
#include "core/ViewLogWnd.h"
#include "core/ViewerWnd.h"
#include "platform/Ini.h"
#include "platform/Shell.h"

#include <QFile>
#include <QFileInfo>
#include <QProgressBar>
#include <QScrollBar>
#include <QTableView>

using namespace ven;
using ven::test::WindowKit;

namespace {

using Maker = std::unique_ptr<WindowController> (*)(const QString&);

// What one shell call was given.
struct ShellCall {
    QString operation, file, directory, parameters;
    int16_t show;
};

struct Viewers : ::testing::Test {
    WindowKit kit;
    std::vector<ShellCall> calls;

    Viewers()
    {
        ShellFile = ShellDirectory = ShellParameters = "stale";
        Log_Activity = ActivityLogName = Daily_Notes = {};
        LogWritten = 0;
        setShellHandler([this] {
            calls.push_back({ShellOperation, ShellFile, ShellDirectory, ShellParameters, ShellShowCmd});
            return kShellDone;
        });
    }
    ~Viewers() override
    {
        setShellHandler({});
        Log_Activity = ActivityLogName = Daily_Notes = {};
        LogWritten = 0;
    }

    static void write(const QString& file, const QString& text)
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text.toUtf8());
    }
    void start(Maker make, const QString& parameter = {})
    {
        kit.start([make, parameter] { return make(parameter); });
    }
    QStringList shown(const QString& wnd)
    {
        QStringList out;
        for (int r = 0; r < kit.rows(wnd); ++r)
            out << kit.cell(wnd, r, 0);
        return out;
    }
    int counter(const QString& wnd) { return kit.control(wnd, "Counter").as<QProgressBar>()->value(); }
    void doubleClick(const QString& wnd)
    {
        QWidget* vp = kit.list(wnd)->viewport();
        QTest::mouseDClick(vp, Qt::LeftButton, {}, QPoint(5, 5));
        kit.settle();
    }
    void rightClick(const QString& wnd)
    {
        QWidget* vp = kit.list(wnd)->viewport();
        QContextMenuEvent e(QContextMenuEvent::Mouse, QPoint(5, 5), vp->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(vp, &e);
        kit.settle();
    }
};

TEST_F(Viewers, TheFileViewerShowsTheFileNamedWhenItStartedAndReadsItAgainOnARightClick)
{
    const QString first = kit.folder("first notes.txt"), second = kit.folder("second.txt");
    write(first, "alpha\r\n\tbeta\r\n\r\ngamma\r\n");
    write(second, "other\n");
    ShellFile = '"' + first + '"';
    start(makeViewerWnd);
    ASSERT_TRUE(kit.isOpen("ViewerWnd"));
    EXPECT_EQ(shown("ViewerWnd"), QStringList({"alpha", "\tbeta", "", "gamma"}));
    EXPECT_EQ(kit.window("ViewerWnd").window().title(), first);
    EXPECT_EQ(kit.list("ViewerWnd")->model()->index(0, 0).data(Qt::ForegroundRole).value<QColor>(), QColor(0, 0, 0x80));

    // A second document while the first is open: the first stays, with its file.
    ShellFile = second;
    start(makeViewerWnd);
    EXPECT_EQ(kit.openCount("ViewerWnd"), 1);
    EXPECT_EQ(shown("ViewerWnd").first(), "alpha");

    // Changed on disk: a right click shows it again and restarts the count.
    write(first, "changed\n");
    kit.wait(10000);
    EXPECT_EQ(counter("ViewerWnd"), 20);
    rightClick("ViewerWnd");
    EXPECT_EQ(shown("ViewerWnd"), QStringList({"changed"}));
    EXPECT_EQ(counter("ViewerWnd"), 0);
    auto* menu = kit.window("ViewerWnd").window().findChild<QMenu*>("Viewer Actions");
    ASSERT_NE(menu, nullptr);
    QStringList items;
    for (QAction* a : menu->actions())
        items << a->text();
    EXPECT_EQ(items, QStringList({"&Find...", "Find &Next", "&Go to Line...", "&Print"}));
    EXPECT_TRUE(kit.boxes().empty());
}

// A line wider than the window is shown whole: the list scrolls sideways to
// its last character, and nothing of it is cut.
TEST_F(Viewers, ALineWiderThanTheWindowScrollsSideways)
{
    const QString file = kit.folder("wide.txt");
    const QString wide = QString(300, u'w') + QStringLiteral(" END");
    write(file, "short\r\n" + wide + "\r\n");
    ShellFile = file;
    start(makeViewerWnd);
    ASSERT_TRUE(kit.isOpen("ViewerWnd"));
    QTableView* v = kit.list("ViewerWnd");
    EXPECT_EQ(v->textElideMode(), Qt::ElideNone);
    const int need = QFontMetrics(v->font()).horizontalAdvance(wide);
    EXPECT_GE(v->columnWidth(0), need);
    QScrollBar* bar = v->horizontalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    bar->setValue(bar->maximum());
    kit.settle();
    const QRect cell = v->visualRect(v->model()->index(1, 0));
    EXPECT_LE(cell.left() + need, v->viewport()->width());
}

TEST_F(Viewers, AMissingFileShowsAnEmptyListWithoutAMessage)
{
    ShellFile = kit.folder("nowhere.txt");
    start(makeViewerWnd);
    ASSERT_TRUE(kit.isOpen("ViewerWnd"));
    EXPECT_EQ(kit.rows("ViewerWnd"), 0);
    start(makeMemoWnd);  // no "VenMemo.txt" either
    ASSERT_TRUE(kit.isOpen("MemoWnd"));
    EXPECT_EQ(kit.rows("MemoWnd"), 0);
    EXPECT_TRUE(kit.boxes().empty());
}

TEST_F(Viewers, TheLogViewerShowsTheCurrentLogAndFollowsNewLines)
{
    const QString folder = kit.folder("daily notes");
    ASSERT_TRUE(QDir().mkpath(folder));
    writeIni(kit.ini(), "Paths", "Daily_Notes", folder);
    Daily_Notes = folder;
    Log_Activity = "C";
    ActivityLogFileName();
    ASSERT_EQ(ActivityLogName, "Vendrolix Activity.log");
    write(QDir(folder).filePath(ActivityLogName), "Wednesday 09 December 2026, Week 50\r\n\r\n09:00:00 Started\r\n");
    start(makeViewLogWnd);
    ASSERT_TRUE(kit.isOpen("ViewLogWnd"));
    EXPECT_EQ(kit.window("ViewLogWnd").window().title(), "VIEW Vendrolix Activity.log");
    EXPECT_EQ(shown("ViewLogWnd").last(), "09:00:00 Started");
    EXPECT_EQ(ShellDirectory, folder);

    ASSERT_TRUE(ActivityLogLine("Wrong password for anna").ok());
    EXPECT_EQ(LogWritten, 1);
    kit.wait(1000);
    EXPECT_EQ(shown("ViewLogWnd").last(), "10:00:00 Wrong password for anna");
    EXPECT_EQ(LogWritten, 0);
}

TEST_F(Viewers, EachViewerClosesItselfWhenItsCounterReachesItsLimitAndADoubleClickRestartsIt)
{
    write(kit.folder("VenMemo.txt"), "buy milk\n");
    ShellFile = kit.folder("VenMemo.txt");
    const struct {
        const char* wnd;
        Maker make;
        int ticks;  // one a second
    } cases[] = {{"MemoWnd", makeMemoWnd, 120}, {"ViewerWnd", makeViewerWnd, 300},
                 {"HelpWnd", makeHelpWnd, 300}, {"ViewLogWnd", makeViewLogWnd, 600}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.wnd);
        start(c.make);
        ASSERT_TRUE(kit.isOpen(c.wnd));
        EXPECT_EQ(counter(c.wnd), 0);
        kit.wait(1000LL * (c.ticks / 2));
        EXPECT_EQ(counter(c.wnd), 300);
        doubleClick(c.wnd);
        EXPECT_EQ(counter(c.wnd), 0);
        kit.wait(1000LL * (c.ticks - 1));
        ASSERT_TRUE(kit.isOpen(c.wnd));
        EXPECT_EQ(counter(c.wnd), 600 - 600 / c.ticks);
        kit.wait(1000);
        EXPECT_FALSE(kit.isOpen(c.wnd));
    }
}

TEST_F(Viewers, TheHelpViewerShowsTheProgramFoldersTextElseItsOwnAtTheTopicAsked)
{
    start(makeHelpWnd, "ConfigureWnd");
    ASSERT_TRUE(kit.isOpen("HelpWnd"));
    EXPECT_EQ(kit.window("HelpWnd").window().title(), "View VenHelp.txt");
    const QStringList own = shown("HelpWnd");
    ASSERT_GT(own.size(), 20);
    for (const char* topic : {"Main", "DiaryBr", "AlarmsBr", "ConfigureWnd", "LoginWnd"})
        EXPECT_TRUE(own.contains(topic)) << topic;
    ASSERT_GE(kit.highlighted("HelpWnd"), 0);
    EXPECT_EQ(own[kit.highlighted("HelpWnd")], "ConfigureWnd");
    EXPECT_EQ(kit.list("HelpWnd")->model()->index(0, 0).data(Qt::ForegroundRole).value<QColor>(), QColor(0, 0x80, 0));
    kit.press("HelpWnd", "Close");
    EXPECT_FALSE(kit.isOpen("HelpWnd"));

    write(kit.folder("VenHelp.txt"), "Our own help\n");
    start(makeHelpWnd);
    EXPECT_EQ(shown("HelpWnd"), QStringList({"Our own help"}));
}

TEST_F(Viewers, AWindowsHelpOpensAtItsTopicAndMovesTheOpenHelpToTheNextOne)
{
    defineProcedure("HelpWnd", makeHelpWnd);
    setHelpHandler([](const QString&, const QString& topic) { ShowHelp(topic); });
    kit.start([] { return makeViewLogWnd({}); });
    kit.window("ViewLogWnd").help();
    kit.settle();
    ASSERT_TRUE(kit.isOpen("HelpWnd"));
    EXPECT_EQ(kit.cell("HelpWnd", kit.highlighted("HelpWnd"), 0), "ViewLogWnd");
    ShowHelp("LoginWnd");
    kit.settle();
    EXPECT_EQ(kit.openCount("HelpWnd"), 1);
    EXPECT_EQ(kit.cell("HelpWnd", kit.highlighted("HelpWnd"), 0), "LoginWnd");
    setHelpHandler({});
    clearProcedures();
}

TEST_F(Viewers, EachLauncherOpensItsFileInANormalWindowAndEnds)
{
    const QString folder = kit.folder("my notes");
    writeIni(kit.ini(), "Paths", "Daily_Notes", folder);
    ActivityLogName = "Vendrolix.log";
    const QString p = Program_Path;
    const struct {
        const char* name;
        Maker make;
        QString file, directory;
    } cases[] = {
        {"EditQuickNote", makeEditQuickNote, QDir(p).filePath("VenMemo.txt"), p},
        {"EditHelp", makeEditHelp, QDir(p).filePath("VenHelp.txt"), p},
        {"EditTextFile", makeEditTextFile, "/docs/a letter.txt", "/docs"},
        {"EditLog", makeEditLog, '"' + QDir(folder).filePath("Vendrolix.log") + '"', folder},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        calls.clear();
        ShellFile = "/docs/a letter.txt";
        ShellDirectory = "/docs";
        ShellParameters = "stale";
        start(c.make);
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].operation, "Open");
        EXPECT_EQ(calls[0].file, c.file);
        EXPECT_EQ(calls[0].directory, c.directory);
        EXPECT_EQ(calls[0].parameters, "");
        EXPECT_EQ(calls[0].show, 1);
        EXPECT_FALSE(kit.isOpen(c.name));
    }
    EXPECT_EQ(ShellDirectory, folder);  // EditLog leaves its folder in the block
}

TEST_F(Viewers, EditOnATextNotMadeYetMakesItFirst)
{
    start(makeHelpWnd);  // the built-in help
    kit.press("HelpWnd", "Edit");
    ASSERT_EQ(calls.size(), 1u);
    QFile help(kit.folder("VenHelp.txt"));
    ASSERT_TRUE(help.open(QIODevice::ReadWrite)) << "a copy of the built-in text, to be edited";
    QFile own(":/help/VenHelp.txt");
    ASSERT_TRUE(own.open(QIODevice::ReadOnly));
    EXPECT_EQ(help.readAll(), own.readAll());
    const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther;
    EXPECT_FALSE(QFile::permissions(kit.folder("VenHelp.txt")) & others) << "the copy is the user's alone";

    start(makeEditQuickNote);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1].file, kit.folder("VenMemo.txt"));
    ASSERT_TRUE(QFile::exists(kit.folder("VenMemo.txt"))) << "an empty quick memo";
    EXPECT_EQ(QFileInfo(kit.folder("VenMemo.txt")).size(), 0);
    write(kit.folder("VenMemo.txt"), "kept\n");
    start(makeEditQuickNote);
    start(makeMemoWnd);
    EXPECT_EQ(shown("MemoWnd"), QStringList({"kept"})) << "an existing text is left as it is";
    EXPECT_TRUE(kit.boxes().empty());
}

TEST_F(Viewers, EditOpensTheViewersFileInTheEditorAndClosesTheViewer)
{
    write(kit.folder("VenMemo.txt"), "call Bob\n");
    start(makeMemoWnd);
    ASSERT_EQ(shown("MemoWnd"), QStringList({"call Bob"}));
    EXPECT_EQ(kit.window("MemoWnd").window().title(), "View VenMemo.txt");
    kit.press("MemoWnd", "Edit");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].file, kit.folder("VenMemo.txt"));
    EXPECT_FALSE(kit.isOpen("MemoWnd"));

    // The file viewer's Edit passes the block's file as it is now.
    ShellFile = kit.folder("VenMemo.txt");
    start(makeViewerWnd);
    ShellFile = "/elsewhere/later.txt";
    kit.press("ViewerWnd", "Edit");
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1].file, "/elsewhere/later.txt");
    EXPECT_FALSE(kit.isOpen("ViewerWnd"));
}

} // namespace
