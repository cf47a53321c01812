// The configuration window as a user meets it: what it shows on a first
// start and with saved settings, saving (checks, settings file, owner
// profile, globals, backup folders, log line) and cancelling.
#include "WindowKit.h"

#include "core/ConfigureWnd.h"
#include "platform/DateField.h"
#include "platform/FileDialogs.h"

#include <QContextMenuEvent>
#include "core/Globals.h"
#include "core/OwnerProfile.h"
#include "platform/DateTime.h"
#include "platform/Ini.h"

#include <QFile>

using namespace ven;
using ven::test::WindowKit;

namespace {

const QString kWnd = QStringLiteral("ConfigureWnd");

struct Configure : ::testing::Test {
    WindowKit kit;
    QTemporaryDir outside;  // a folder outside the program folder
    QString chosenFolder;
    std::optional<QString> chosenPrinter;

    Configure()
    {
        HourBell = HalfBell = QuarterBell = AlertSound = Sound_Path = ChatFileName = {};
        Log_Activity = ActivityLogName = DefaultPrinter = TelefaxDevice = {};
        ConfigChanged = Start_In_Tray = Start_Maximized = GOpenCalendar = 0;
        DateLine = "Wednesday 09 December 2026, Week 50";
        CurrentUser = "anna";
        setFileDialogs({.file = {},
                             .folder = [this](QWidget*, const QString&, const QString&) { return chosenFolder; },
                             .printer = [this](QWidget*, const QString&) { return chosenPrinter; }});
    }
    ~Configure() override
    {
        setFileDialogs({});
        CurrentUser.clear();
        Log_Activity.clear();
        ConfigChanged = 0;
    }

    void open() { kit.start([] { return makeConfigureWnd({}); }); }
    QString ini(const char* section, const char* key) { return readIni(kit.ini(), section, key, "<none>"); }
    void tab(int n) { kit.choose(kWnd, "Sheet", QString::number(n)); }
    void fillOwner(bool withCountry)
    {
        tab(4);
        const std::pair<const char*, const char*> fields[] = {
            {"FirstName", "Anna"}, {"LastName", "Berg"},       {"Street", "Main Street 1"},
            {"ZipCode", "00100"},  {"City", "Helsinki"},       {"EMail", "anna@example.org"},
            {"Telephone", "123"},
        };
        for (auto [name, text] : fields) {
            kit.replaceText(kWnd, name, text);
            kit.tab(kWnd);
        }
        if (withCountry) {
            kit.replaceText(kWnd, "Country", "Sweden");
            kit.tab(kWnd);
        }
    }
};

TEST_F(Configure, FirstStartShowsTheDefaults)
{
    open();
    ASSERT_TRUE(kit.isOpen(kWnd));
    EXPECT_EQ(kit.window(kWnd).window().title(), "Configure Vendrolix");
    const std::pair<const char*, const char*> sounds[] = {
        {"HourBell", "HourBell.wav"}, {"HalfBell", "HalfBell.wav"}, {"QuarterBell", "QrtrBell.wav"}, {"AlertSound", "AlertSnd.wav"}};
    for (auto [entry, file] : sounds)
        EXPECT_EQ(kit.text(kWnd, entry), kit.folder(file)) << entry;
    EXPECT_EQ(kit.text(kWnd, "TabName1"), "Programs 001-020");
    EXPECT_EQ(kit.text(kWnd, "TabName5"), "Programs 081-100");
    EXPECT_TRUE(kit.control(kWnd, "BackUpPath").isEnabled());
    EXPECT_TRUE(kit.control(kWnd, "BackUpLookup").isVisible());

    const std::tuple<const char*, const char*, const char*> walls[] = {
        {"FrameImage", "FrameStyle", "Vendrolix.jpg|Stretched"}, {"BrowseImage", "BrowseStyle", "Browse_Bgr.gif|Tiled"},
        {"FormImage", "FormStyle", "Form_Bgr.gif|Tiled"},        {"ToolbarImage", "ToolbarStyle", "ToolBar_Bgr.jpg|Tiled"},
        {"WindowImage", "WindowStyle", "Window_Bgr.jpg|Stretched"}};
    for (auto [image, style, want] : walls) {
        const QStringList w = QString(want).split('|');
        EXPECT_EQ(kit.text(kWnd, image), kit.folder(w[0])) << image;
        EXPECT_EQ(kit.control(kWnd, style).value().toString(), w[1]) << style;
    }
    EXPECT_EQ(kit.control(kWnd, "CountdownDate").value().toInt(), dayNumber(2001, 1, 1));
    EXPECT_EQ(kit.control(kWnd, "StartOption").value().toString(), "N");
    EXPECT_EQ(kit.window(kWnd).window().wallpaper(), kit.folder("Window_Bgr.jpg"));
    EXPECT_TRUE(kit.window(kWnd).window().stretched());
}

// The countdown date has the date keys and the picker of every date
// field; its time steps by an hour.
TEST_F(Configure, CountdownDateHasItsKeysAndPickerAndTheTimeStepsByAnHour)
{
    QStringList captions;
    setDatePicker([&](const QString& caption, int32_t& date, std::function<void(bool)> done) {
        captions << caption;
        date = dayNumber(2030, 5, 6);
        done(true);
    });
    open();
    tab(3);
    kit.replaceText(kWnd, "CountdownDate", "31-01-2025");
    kit.key(kWnd, (Qt::ALT | Qt::Key_Up).toCombined());
    EXPECT_EQ(kit.text(kWnd, "CountdownDate"), "03-03-2025");
    kit.key(kWnd, (Qt::CTRL | Qt::Key_Up).toCombined());
    EXPECT_EQ(kit.text(kWnd, "CountdownDate"), "03-03-2026");
    QWidget* date = kit.control(kWnd, "CountdownDate").widget();
    QContextMenuEvent right(QContextMenuEvent::Mouse, QPoint(3, 3), date->mapToGlobal(QPoint(3, 3)));
    QApplication::sendEvent(date, &right);
    kit.settle();
    EXPECT_EQ(captions, QStringList{"Select Date"});
    EXPECT_EQ(kit.text(kWnd, "CountdownDate"), "06-05-2030");
    kit.replaceText(kWnd, "CountdownTime", "08:00");
    kit.key(kWnd, Qt::Key_Up);
    EXPECT_EQ(kit.text(kWnd, "CountdownTime"), "09:00");
}

TEST_F(Configure, ShowsSavedSettingsAndOwnerAndLocksTheBackupPath)
{
    HourBell = "/snd/gong.wav";
    Log_Activity = "C";
    ActivityLogName = "Vendrolix Activity.log";
    writeIni(kit.ini(), "Main", "Calendar", "2");
    writeIni(kit.ini(), "Main", "Start_In_Tray", "1");
    writeIni(kit.ini(), "Main", "Start_Maximized", "1");
    writeIni(kit.ini(), "Main", "BrWallPaper", "/img/b.gif");  // a blank style stays blank
    writeIni(kit.ini(), "Paths", "BackUp_Path", "/backups/VendBack");
    writeIni(kit.ini(), "ProgramsWnd", "TabName2", "Games");
    OwnerProfile p;
    p.FirstName = "Anna";
    p.City = "Turku";
    ASSERT_TRUE(writeOwnerProfile(p));
    open();

    EXPECT_EQ(kit.text(kWnd, "HourBell"), "/snd/gong.wav");
    EXPECT_EQ(kit.text(kWnd, "TabName2"), "Games");
    EXPECT_EQ(kit.control(kWnd, "CalendarOption").value().toString(), "2");
    EXPECT_EQ(kit.control(kWnd, "StartOption").value().toString(), "T");  // the tray wins
    EXPECT_EQ(kit.text(kWnd, "BrowseImage"), "/img/b.gif");
    EXPECT_FALSE(kit.control(kWnd, "BrowseStyle").value().isValid());
    EXPECT_EQ(kit.text(kWnd, "FirstName"), "Anna");
    EXPECT_EQ(kit.text(kWnd, "City"), "Turku");
    EXPECT_EQ(kit.text(kWnd, "LogFileName"), "Vendrolix Activity.log");
    EXPECT_EQ(kit.text(kWnd, "BackUpPath"), "/backups/VendBack");
    EXPECT_FALSE(kit.control(kWnd, "BackUpPath").isEnabled());
    EXPECT_FALSE(kit.control(kWnd, "BackUpLookup").isVisible());
}

TEST_F(Configure, BackupLookupRefusesTheProgramFolderAndEndsInVendBack)
{
    open();
    // Links that lead into the program folder, and a folder that differs from
    // it only in letter case (another folder on this file system).
    ASSERT_TRUE(QDir().mkpath(kit.folder("sub")));
    ASSERT_TRUE(QFile::link(kit.folder(), outside.filePath("lnk")));
    ASSERT_TRUE(QFile::link(kit.folder("sub"), outside.filePath("subLink")));
    const QString name = QFileInfo(kit.folder()).fileName();
    QString swapped;
    for (QChar c : name)
        swapped += c.isUpper() ? c.toLower() : c.toUpper();
    ASSERT_NE(swapped, name);
    const QString otherCase = QFileInfo(kit.folder()).path() + "/" + swapped;
    const std::pair<QString, QString> cases[] = {
        {outside.path() + "/Data/VendBack/Old", outside.path() + "/Data/VendBack"},
        {outside.path() + "/Data", outside.path() + "/Data/VendBack"},
        {otherCase, otherCase + "/VendBack"},
        {kit.folder("sub"), ""},
        {kit.folder(), ""},  // the program folder itself
        {outside.filePath("lnk"), ""},
        {outside.filePath("lnk/sub"), ""},
        {outside.filePath("subLink/.."), ""},  // the link's target's parent: the program folder
    };
    for (const auto& [chosen, want] : cases) {
        kit.clearBoxes();
        chosenFolder = chosen;
        kit.press(kWnd, "BackUpLookup");
        EXPECT_EQ(kit.text(kWnd, "BackUpPath"), want) << chosen.toStdString();
        EXPECT_EQ(kit.boxes().size(), want.isEmpty() ? 1u : 0u) << chosen.toStdString();
    }
    ASSERT_FALSE(kit.boxes().empty());
    EXPECT_EQ(kit.boxes().back().text, "Backup Path may NOT be a Subdirectory of Vendrolix Main Directory!");
    EXPECT_EQ(kit.boxes().back().caption, "Error!");
    // A cancelled chooser leaves the field alone.
    chosenFolder = outside.path() + "/Data";
    kit.press(kWnd, "BackUpLookup");
    chosenFolder.clear();
    kit.press(kWnd, "BackUpLookup");
    EXPECT_EQ(kit.text(kWnd, "BackUpPath"), outside.path() + "/Data/VendBack");
}

TEST_F(Configure, SaveChecksThenWritesSettingsProfileGlobalsFoldersAndLog)
{
    const QString wdBefore = WdWallPaper;
    open();
    // Without a backup path nothing is saved: a message says what is
    // missing, and the cursor goes to the path's lookup.
    kit.press(kWnd, "Save");
    EXPECT_TRUE(kit.isOpen(kWnd));
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_EQ(kit.boxes()[0].text, "The \"Back Up Path:\" is blank.\nChoose the folder for the backups with the "
                                   "button beside it.");
    EXPECT_EQ(kit.window(kWnd).window().focusedControl(), "BackUpLookup");
    kit.clearBoxes();

    tab(1);
    chosenFolder = outside.path() + "/Safe";
    kit.press(kWnd, "BackUpLookup");
    kit.replaceText(kWnd, "TabName3", "Office");
    kit.tab(kWnd);
    tab(2);
    kit.choose(kWnd, "BrowseStyle", "Centered");
    tab(3);
    kit.choose(kWnd, "StartOption", "M");
    kit.choose(kWnd, "CalendarOption", "3");
    kit.choose(kWnd, "LogOption", "N");
    // A folder typed without a closing separator stays that folder.
    const QString notes = outside.filePath("Notes");
    ASSERT_TRUE(QDir().mkpath(notes));
    kit.replaceText(kWnd, "DailyNotes", notes);
    kit.tab(kWnd);
    EXPECT_EQ(kit.text(kWnd, "DailyNotes"), notes);
    chosenPrinter = "Office-Laser";
    kit.press(kWnd, "DefaultPrinterButton");
    EXPECT_EQ(kit.text(kWnd, "DefaultPrinter"), "Office-Laser");
    kit.replaceText(kWnd, "TelefaxDevice", "OldFax");
    kit.tab(kWnd);
    chosenPrinter.reset();  // a cancelled printer dialog clears the field
    kit.press(kWnd, "TelefaxButton");
    EXPECT_EQ(kit.text(kWnd, "TelefaxDevice"), "");

    // Every owner field but the country: one message, "Finland", still open.
    fillOwner(false);
    kit.press(kWnd, "Save");
    ASSERT_TRUE(kit.isOpen(kWnd));
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_EQ(kit.boxes()[0].text, "You have to fill in the Personal Information fields!");
    EXPECT_EQ(kit.text(kWnd, "Country"), "Finland");
    EXPECT_EQ(kit.window(kWnd).window().focusedControl(), "Country");
    EXPECT_FALSE(QFile::exists(kit.ini()));
    EXPECT_FALSE(ownerProfileExists());
    EXPECT_EQ(ConfigChanged, 0);

    kit.press(kWnd, "Save");
    EXPECT_FALSE(kit.isOpen(kWnd));
    EXPECT_EQ(kit.boxes().size(), 1u);

    // What was changed is written; a default shown for a blank setting and
    // kept stays unwritten; a style chosen for a shown default image keeps
    // that image with it.
    const QString backup = outside.path() + "/Safe/VendBack";
    const std::tuple<const char*, const char*, QString> keys[] = {
        {"Paths", "BackUp_Path", backup},
        {"Paths", "HourBell", "<none>"},
        {"Paths", "Daily_Notes", notes},
        {"Main", "Calendar", "3"},
        {"Main", "Start_In_Tray", "<none>"},
        {"Main", "Start_Maximized", "1"},
        {"Main", "Log_Activity", "N"},
        {"Main", "Date", "<none>"},
        {"Main", "WallPaper", "<none>"},
        {"Main", "BrWallPaper", kit.folder("Browse_Bgr.gif")},
        {"Main", "BrWallPaperStyle", "Centered"},
        {"Main", "TbWallpaper", "<none>"},
        {"Main", "DefaultPrinter", "Office-Laser"},
        {"Main", "TelefaxDevice", "<none>"},
        {"ProgramsWnd", "TabName3", "Office"},
        {"ProgramsWnd", "TabName1", "<none>"},
    };
    for (const auto& [section, key, want] : keys)
        EXPECT_EQ(ini(section, key), want) << section << " " << key;

    const OwnerProfile p = readOwnerProfile();
    EXPECT_EQ(p.FirstName, "Anna");
    EXPECT_EQ(p.EMail, "anna@example.org");
    EXPECT_EQ(p.Country, "Finland");
    EXPECT_FALSE(p.incomplete());

    EXPECT_EQ(ConfigChanged, 1);
    EXPECT_EQ(Start_Maximized, 1);
    EXPECT_EQ(Start_In_Tray, 0);
    EXPECT_EQ(GOpenCalendar, 3);
    EXPECT_EQ(BrWallPaper, kit.folder("Browse_Bgr.gif"));
    EXPECT_EQ(BrWallPaperStyle, "Centered");
    EXPECT_EQ(WdWallPaper, wdBefore);  // the window row was kept
    EXPECT_TRUE(HourBell.isEmpty());
    EXPECT_EQ(Daily_Notes, notes);
    EXPECT_EQ(ActivityLogName, "Vendrolix.log");
    EXPECT_TRUE(QDir(backup + "#1").exists());
    EXPECT_TRUE(QDir(backup + "#2").exists());

    // "None" still logs the change, into "Vendrolix.log" of the notes folder.
    QFile log(QDir(notes).filePath("Vendrolix.log"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(log.readAll());
    EXPECT_TRUE(text.startsWith(DateLine + "\r\n\r\n")) << text.toStdString();
    EXPECT_TRUE(text.contains(" Configuration (" + kit.folder() + ") Changed by anna\r\n")) << text.toStdString();
}

// Saving what the window showed leaves the settings file as it was, byte
// for byte: blank settings (shown with the window's defaults), stored
// ones, a stored "0" log option (shown as "N") and entries never written.
TEST_F(Configure, SavingUnchangedLeavesTheSettingsFileAndTheGlobalsAsTheyWere)
{
    const std::tuple<const char*, const char*, const char*> stored[] = {
        {"Paths", "HourBell", ""},
        {"Paths", "Daily_Notes", ""},
        {"Main", "Date", "0"},
        {"Main", "Log_Activity", "0"},
        {"Main", "WallPaper", ""},
        {"Main", "WallPaperStyle", ""},
        {"Main", "TbWallPaper", "/img/bar.gif"},
        {"Main", "TbWallPaperStyle", ""},  // a stored image keeps its blank style
        {"Main", "BrWallPaperStyle", "Centered"},
        {"ProgramsWnd", "TabName2", ""},
    };
    for (const auto& [section, key, value] : stored)
        ASSERT_TRUE(writeIni(kit.ini(), section, key, value));
    ASSERT_TRUE(writeIni(kit.ini(), "Paths", "BackUp_Path", outside.filePath("VendBack")));
    OwnerProfile p;
    p.FirstName = "Anna", p.LastName = "Berg", p.Street = "Main Street 1", p.ZipCode = "00100";
    p.City = "Helsinki", p.Country = "Sweden", p.EMail = "anna@example.org";
    ASSERT_TRUE(writeOwnerProfile(p));
    QFile file(kit.ini());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    Log_Activity = "0";
    const QString wd = WdWallPaper, br = BrWallPaper, brStyle = BrWallPaperStyle;

    open();
    EXPECT_EQ(kit.text(kWnd, "FrameImage"), kit.folder("Vendrolix.jpg"));  // the window's own default, shown
    kit.wait(1000);  // a tick shows the log option "0" as "N"
    kit.press(kWnd, "Save");
    ASSERT_FALSE(kit.isOpen(kWnd));
    EXPECT_TRUE(kit.boxes().empty());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(file.readAll()), QString::fromUtf8(before));
    EXPECT_EQ(ConfigChanged, 1);
    EXPECT_TRUE(HourBell.isEmpty());
    EXPECT_EQ(WdWallPaper, wd);
    EXPECT_EQ(BrWallPaper, br);
    EXPECT_EQ(BrWallPaperStyle, brStyle);
    EXPECT_EQ(Daily_Notes, kit.folder());
}

TEST_F(Configure, ATypedBackupPathInsideTheProgramFolderOrRelativeIsRefusedOnSave)
{
    open();
    fillOwner(true);
    for (const QString& typed : {QStringLiteral("mybackup"), kit.folder(), kit.folder("VendBack")}) {
        kit.clearBoxes();
        tab(1);
        kit.replaceText(kWnd, "BackUpPath", typed);
        kit.tab(kWnd);
        kit.press(kWnd, "Save");
        ASSERT_TRUE(kit.isOpen(kWnd)) << typed.toStdString();
        ASSERT_EQ(kit.boxes().size(), 1u) << typed.toStdString();
        EXPECT_EQ(kit.boxes()[0].text, "Backup Path may NOT be a Subdirectory of Vendrolix Main Directory!");
        EXPECT_EQ(kit.text(kWnd, "BackUpPath"), "");
        EXPECT_FALSE(QFile::exists(kit.ini()));
    }
    EXPECT_FALSE(QDir(kit.folder("mybackup#1")).exists());
    tab(1);
    kit.replaceText(kWnd, "BackUpPath", outside.filePath("VendBack"));
    kit.tab(kWnd);
    kit.press(kWnd, "Save");
    EXPECT_FALSE(kit.isOpen(kWnd));
    EXPECT_EQ(ini("Paths", "BackUp_Path"), outside.filePath("VendBack"));
}

TEST_F(Configure, SaveStaysOpenWithTheEditsWhenTheSettingsCannotBeWritten)
{
    ASSERT_TRUE(QDir().mkpath(kit.ini()));  // a folder where the settings file should be
    open();
    tab(1);
    chosenFolder = outside.path();
    kit.press(kWnd, "BackUpLookup");
    kit.replaceText(kWnd, "TabName1", "Mine");
    kit.tab(kWnd);
    fillOwner(true);
    kit.press(kWnd, "Save");
    ASSERT_TRUE(kit.isOpen(kWnd)) << "the edits would be lost";
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_TRUE(kit.boxes()[0].text.startsWith("The settings could not be written to " + kit.ini()))
        << kit.boxes()[0].text.toStdString();
    EXPECT_EQ(kit.text(kWnd, "TabName1"), "Mine");
    EXPECT_FALSE(QDir(outside.path() + "/VendBack#1").exists());
    // Once the file can be written, the same Save goes through.
    ASSERT_TRUE(QDir().rmdir(kit.ini()));
    kit.press(kWnd, "Save");
    EXPECT_FALSE(kit.isOpen(kWnd));
    EXPECT_EQ(ini("ProgramsWnd", "TabName1"), "Mine");
}

TEST_F(Configure, WithoutALogOptionNothingIsLogged)
{
    writeIni(kit.ini(), "Paths", "BackUp_Path", outside.path() + "/VendBack");
    open();
    fillOwner(true);
    kit.press(kWnd, "Save");
    ASSERT_FALSE(kit.isOpen(kWnd));
    EXPECT_EQ(readOwnerProfile().Country, "Sweden");
    EXPECT_FALSE(QFile::exists(kit.folder("Vendrolix.log")));
    EXPECT_TRUE(QDir(outside.path() + "/VendBack#2").exists());
}

TEST_F(Configure, CancelWritesNothing)
{
    open();
    chosenFolder = outside.path();
    kit.press(kWnd, "BackUpLookup");
    kit.replaceText(kWnd, "TabName1", "Mine");
    kit.tab(kWnd);
    fillOwner(true);
    kit.press(kWnd, "Cancel");
    EXPECT_FALSE(kit.isOpen(kWnd));
    EXPECT_FALSE(QFile::exists(kit.ini()));
    EXPECT_FALSE(ownerProfileExists());
    EXPECT_FALSE(QDir(outside.path() + "/VendBack#1").exists());
    EXPECT_EQ(ConfigChanged, 0);
    EXPECT_TRUE(HourBell.isEmpty());
}

TEST_F(Configure, WindowWallpaperTestShowsItThenDressesTheWindow)
{
    open();
    tab(2);
    const QString image = outside.filePath("mine.jpg");
    kit.replaceText(kWnd, "WindowImage", image);
    kit.tab(kWnd);
    kit.choose(kWnd, "WindowStyle", "Tiled");
    kit.press(kWnd, "WindowTest");
    ASSERT_TRUE(kit.isOpen("WallpaperTestWd"));
    Window& test = kit.window("WallpaperTestWd").window();
    EXPECT_EQ(test.title(), "Test Wallpaper");
    EXPECT_EQ(test.wallpaper(), image);
    EXPECT_TRUE(test.tiled());
    EXPECT_EQ(kit.window(kWnd).window().wallpaper(), kit.folder("Window_Bgr.jpg"));  // not before it closes
    kit.press("WallpaperTestWd", "Close");
    EXPECT_FALSE(kit.isOpen("WallpaperTestWd"));
    EXPECT_EQ(kit.window(kWnd).window().wallpaper(), image);
    EXPECT_TRUE(kit.window(kWnd).window().tiled());
    EXPECT_FALSE(kit.window(kWnd).window().stretched());
}

} // namespace
