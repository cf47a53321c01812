// The program register and the launcher through their widgets: the
// built-in "VIEW" record, a program registered with its button and started
// from the launcher with its arguments and folder, OK's button checks, the
// start folder rules, select mode, and the tabs.
#include "RegisterKit.h"

#include "platform/FileDialogs.h"
#include "platform/Ini.h"
#include "registers/ProgramsBr.h"
#include "registers/ProgramsFr.h"
#include "registers/ProgramsWnd.h"

#include <QDir>
#include <QPushButton>
#include <QTabWidget>

namespace ven::test {
namespace {

class ProgramsTest : public RegisterTest {
protected:
    void startList() { ASSERT_NE(kit.start([] { return makeProgramsBr(); }), 0); }
    void startLauncher() { ASSERT_NE(kit.start([] { return makeProgramsWnd(); }), 0); }
    // A program file that exists.
    QString programFile(const QString& name)
    {
        QFile f(kit.folder(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\n");
        f.close();
        f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
        return kit.folder(name);
    }
    bool buttonShown(int n) { return kit.control("ProgramsWnd", QStringLiteral("Button%1").arg(n, 3, 10, QChar('0'))).isVisible(); }
    QString buttonText(int n) { return kit.text("ProgramsWnd", QStringLiteral("Button%1").arg(n, 3, 10, QChar('0'))); }
};

TEST_F(ProgramsTest, TheRegisterHoldsTheViewRecordWhichCannotBeChangedOrStarted)
{
    startList();
    ASSERT_EQ(kit.rows("ProgramsBr"), 1);
    EXPECT_EQ(kit.cell("ProgramsBr", 0, 1), "VIEW");
    EXPECT_EQ(kit.cell("ProgramsBr", 0, 2), "View Text File");
    for (const char* b : {"Copy", "Change", "Delete", "Start"})
        EXPECT_FALSE(kit.control("ProgramsBr", b).isEnabled()) << b;
    EXPECT_TRUE(kit.control("ProgramsBr", "Insert").isEnabled());
    kit.window("ProgramsBr").close(RequestCancelled);
    kit.settle();
    startList();
    EXPECT_EQ(WindowKit::records(VenPrg).size(), 1u);
}

TEST_F(ProgramsTest, AProgramRegisteredIsShownOnItsTabAndStartedWithItsArgumentsAndFolder)
{
    const QString edit = programFile("edit");
    QDir(kit.folder()).mkdir("work");
    startList();
    kit.press("ProgramsBr", "Insert");
    ASSERT_TRUE(kit.isOpen("ProgramsFr"));
    EXPECT_EQ(kit.window("ProgramsFr").window().title(), "Adding a Program");
    kit.type("ProgramsFr", "Name", "Editor");
    kit.replaceText("ProgramsFr", "ButtonNumber", "21");
    kit.type("ProgramsFr", "ProgPath", edit);
    kit.tab("ProgramsFr");
    EXPECT_EQ(kit.text("ProgramsFr", "StartPath"), kit.folder() + "/");  // the program's folder
    kit.replaceText("ProgramsFr", "StartPath", kit.folder("work"));
    kit.type("ProgramsFr", "Parameters", "-x \"two words\"");
    kit.type("ProgramsFr", "Description", "Text editor");
    kit.press("ProgramsFr", "OK");
    EXPECT_FALSE(kit.isOpen("ProgramsFr"));
    EXPECT_TRUE(kit.boxes().empty());
    const Record* saved = nullptr;
    std::vector<Record> all = WindowKit::records(VenPrg);
    for (const Record& r : all)
        if (r.str(PRG::NAME) == "Editor")
            saved = &r;
    ASSERT_NE(saved, nullptr);
    EXPECT_EQ(saved->str(PRG::STARTPATH), kit.folder("work") + "/");  // an existing folder is kept whole
    EXPECT_EQ(saved->str(PRG::ICON), edit);  // buttons 2 to 28 show the program's own icon
    kit.window("ProgramsBr").close(RequestCancelled);
    kit.settle();

    startLauncher();
    auto* sheet = kit.control("ProgramsWnd", "Sheet").as<QTabWidget>();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->tabText(0), "Programs 001-020");
    EXPECT_EQ(sheet->tabText(4), "Programs 081-100");
    EXPECT_EQ(launcherTab(21), 2);
    EXPECT_EQ(launcherPlace(21), 1);
    EXPECT_EQ(launcherPlace(40), 20);
    kit.choose("ProgramsWnd", "Sheet", "2");
    EXPECT_TRUE(buttonShown(21));
    EXPECT_EQ(buttonText(21), "Editor");
    EXPECT_EQ(kit.control("ProgramsWnd", "Button021").widget()->toolTip(), "Text editor");
    EXPECT_FALSE(buttonShown(22));
    kit.press("ProgramsWnd", "Button021");
    ASSERT_EQ(shell.size(), 1u);
    EXPECT_EQ(shell[0].operation, "Start");
    EXPECT_EQ(shell[0].file, edit);
    EXPECT_EQ(splitParameters(shell[0].parameters), (QStringList{"-x", "two words"}));
    EXPECT_EQ(shell[0].directory, kit.folder("work") + "/");
    EXPECT_TRUE(kit.isOpen("ProgramsWnd"));
    EXPECT_TRUE(log().contains(kit.folder("work") + "/> " + edit + " -x \"two words\""));
}

TEST_F(ProgramsTest, OkRefusesATakenOrTooHighButtonNumberAndGivesLowButtonsTheProgramIcon)
{
    addProgram("Mail", "/usr/bin/mail", 7);
    startList();
    kit.press("ProgramsBr", "Insert");
    kit.type("ProgramsFr", "Name", "Other");
    kit.replaceText("ProgramsFr", "ButtonNumber", "7");
    kit.type("ProgramsFr", "ProgPath", "/usr/bin/other");
    kit.press("ProgramsFr", "OK");
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_EQ(kit.boxes()[0].text, "Button Number 7 exists already!");
    EXPECT_EQ(kit.boxes()[0].caption, "Error");
    EXPECT_TRUE(kit.isOpen("ProgramsFr"));
    kit.replaceText("ProgramsFr", "ButtonNumber", "2");
    kit.press("ProgramsFr", "OK");
    EXPECT_FALSE(kit.isOpen("ProgramsFr"));
    for (const Record& r : WindowKit::records(VenPrg))
        if (r.str(PRG::NAME) == "Other") {
            EXPECT_EQ(r.str(PRG::ICON), "/usr/bin/other");
            EXPECT_EQ(r.str(PRG::STARTPATH), "/usr/bin/");
        }
}

TEST_F(ProgramsTest, AProgramChosenInTheDialogGivesABlankStartFolderItsFolder)
{
    QString asked;
    setFileDialogs({.file = [&](QWidget*, const QString& title, const QString&, const QString&) {
        asked = title;
        return QStringLiteral("/opt/tools/edit");
    }});
    startList();
    kit.press("ProgramsBr", "Insert");
    kit.press("ProgramsFr", "ProgLookup");
    EXPECT_EQ(asked, "Select Program");
    EXPECT_EQ(kit.text("ProgramsFr", "ProgPath"), "/opt/tools/edit");
    EXPECT_EQ(kit.text("ProgramsFr", "StartPath"), "/opt/tools/");
    kit.replaceText("ProgramsFr", "StartPath", "/kept/");
    kit.press("ProgramsFr", "ProgLookup");
    EXPECT_EQ(kit.text("ProgramsFr", "StartPath"), "/kept/");
    setFileDialogs({});
}

TEST_F(ProgramsTest, StartFolderRules)
{
    EXPECT_EQ(startPathFromProgram("C:\\Tools\\edit.exe", "/last/"), "C:\\Tools\\");
    EXPECT_EQ(startPathFromProgram("edit", "/last/"), "/last/");
    EXPECT_EQ(trimStartPath("C:\\Tools\\edit.exe"), "C:\\Tools\\");
    EXPECT_EQ(trimStartPath("nofolder"), "nofolder");
    EXPECT_EQ(trimStartPath(QDir::tempPath()), QDir::tempPath() + "/");
}

TEST_F(ProgramsTest, InSelectModeEnterSelectsTheProgramForTheDocumentForm)
{
    addProgram("Zed", "/usr/bin/zed");
    startList();  // the register is open elsewhere: the lookup still opens
    KeyedFile& prg = threadContext(kFrameThread).file(VenPrg);
    ASSERT_TRUE(prg.open());
    prg.rec().clear();
    prg.rec().set(PRG::NAME, "Zed");
    uint8_t response = 0;
    kit.call(makeProgramsBr(), SelectRecord, &response);
    ASSERT_EQ(kit.openCount("ProgramsBr"), 2);
    WindowController* lookup = WindowController::openWindows().back();
    EXPECT_TRUE(lookup->control("Select").isVisible());
    auto* select = lookup->control("Select").as<QPushButton>();
    auto* start = lookup->control("Start").as<QPushButton>();
    EXPECT_TRUE(select->isDefault());
    EXPECT_FALSE(start->isDefault());
    lookup->control("List").select();
    QTest::keyClick(lookup->control("List").widget(), Qt::Key_Return);
    kit.settle();
    EXPECT_EQ(response, RequestCompleted);
    EXPECT_EQ(prg.rec().str(PRG::NAME), "Zed");
    EXPECT_TRUE(shell.empty());
}

TEST_F(ProgramsTest, LauncherTabsReadTheirCaptionsAndFillOnce)
{
    writeIni(kit.ini(), "ProgramsWnd", "TabName3", "A caption of twenty-five");
    const QString tool = programFile("tool");
    addProgram("Tool", tool, 61);
    addProgram("Gone", "/no/such/program", 62);
    startLauncher();
    auto* sheet = kit.control("ProgramsWnd", "Sheet").as<QTabWidget>();
    EXPECT_EQ(sheet->tabText(2), "A caption of twenty");
    kit.choose("ProgramsWnd", "Sheet", "4");
    EXPECT_TRUE(buttonShown(61));
    EXPECT_FALSE(buttonShown(62));  // its file is missing
    addProgram("Late", tool, 63);
    kit.choose("ProgramsWnd", "Sheet", "1");
    kit.choose("ProgramsWnd", "Sheet", "4");
    EXPECT_FALSE(buttonShown(63));  // tab 4 is read once per opening

    // The program's number given to another one: the button shows it afresh
    // instead of starting the other.
    {
        Context ctx;
        KeyedFile& f = ctx.file(VenPrg);
        ASSERT_TRUE(f.open());
        f.rec().clear();
        f.rec().set(PRG::NAME, "Tool");
        ASSERT_TRUE(f.get(PRG::PRG_KEY));
        ASSERT_TRUE(f.remove());
    }
    addProgram("Newer", tool, 61);
    kit.press("ProgramsWnd", "Button061");
    EXPECT_TRUE(shell.empty());
    EXPECT_EQ(buttonText(61), "Newer");
    kit.press("ProgramsWnd", "Button061");
    EXPECT_EQ(shell.size(), 1u);

    kit.press("ProgramsWnd", "ShowButtons");
    EXPECT_TRUE(buttonShown(64));
    EXPECT_EQ(buttonText(64), "Button 064");
    kit.press("ProgramsWnd", "Button064");
    EXPECT_EQ(shell.size(), 1u);

    stand("ProgramsBr", RequestCompleted);
    kit.press("ProgramsWnd", "Install");
    EXPECT_FALSE(kit.isOpen("ProgramsWnd"));
    EXPECT_EQ(runs, QStringList{"ProgramsBr request 0"});
}

} // namespace
} // namespace ven::test
