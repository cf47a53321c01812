// Window definitions, controls and bindings, wallpapers, placements in the
// settings file and the error reporter's message boxes.
#include "Samples.h"

#include "platform/DateTime.h"
#include "platform/Ini.h"

#include <QAbstractSpinBox>
#include <QImage>
#include <QImageReader>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace ven::test {
namespace {

const WindowDef& tabbedDef()
{
    static const WindowDef def{
        .title = "Tabs",
        .w = 200,
        .h = 120,
        .font = {"DejaVu Sans", 9},
        .controls = {
            {.name = "Sheet", .kind = Kind::Sheet, .x = 2, .y = 2, .w = 196, .h = 90},
            {.name = "One", .kind = Kind::Tab, .text = "One", .parent = "Sheet"},
            {.name = "Two", .kind = Kind::Tab, .text = "Two", .parent = "Sheet"},
            {.name = "OnOne", .kind = Kind::Entry, .x = 10, .y = 20, .w = 60, .h = 12, .parent = "One", .picture = "D06B"},
            {.name = "OnTwo", .kind = Kind::Check, .text = "Tick", .x = 10, .y = 20, .w = 60, .h = 12, .parent = "Two"},
            {.name = "Cat", .kind = Kind::Option, .text = "Category", .x = 100, .y = 20, .w = 80, .h = 40, .parent = "One"},
            {.name = "Cat0", .kind = Kind::Radio, .text = "Phone", .x = 104, .y = 30, .w = 60, .h = 10, .parent = "Cat"},
            {.name = "Cat1", .kind = Kind::Radio, .text = "Projects", .x = 104, .y = 42, .w = 60, .h = 10, .parent = "Cat"},
            {.name = "Orphan", .kind = Kind::Prompt, .text = "Lost", .x = 10, .y = 100, .w = 40, .h = 10, .parent = "Nowhere",
             .tip = "A tip", .color = 0xFF0000},
        }};
    return def;
}

TEST(WindowDefs, ControlsStandInDialogUnitsOfTheWindowFont)
{
    Window w(tabbedDef());
    const DialogUnits du(w.font());
    EXPECT_EQ(w.size(), QSize(du.x(200), du.y(120)));
    EXPECT_EQ(w.control("OnOne").widget()->geometry(), du.rect(10, 20, 60, 12));
    EXPECT_GT(du.x(4), 0);
    EXPECT_GT(du.y(8), du.x(4) / 2);
    // A parent that the definition lacks leaves the control on the window.
    EXPECT_TRUE(w.control("Orphan").exists());
    EXPECT_EQ(w.control("Orphan").tip(), "A tip");
    EXPECT_EQ(w.control("Orphan").widget()->palette().color(QPalette::WindowText), QColor(0xFF0000));
}

// A window narrower than its title opens wide enough to show the title whole.
TEST(WindowDefs, ANarrowWindowIsAsWideAsItsTitle)
{
    const WindowDef narrow{.title = "Sort Canonical Feasts", .w = 117, .h = 40};
    Window w(narrow);
    QFont bold = QApplication::font();
    bold.setBold(true);
    EXPECT_GT(w.width(), QFontMetrics(bold).horizontalAdvance("Sort Canonical Feasts") + 80);
    const WindowDef wide{.title = "Wide", .w = 300, .h = 40};
    Window v(wide);
    EXPECT_EQ(v.width(), DialogUnits(v.font()).x(300));
}

TEST(WindowDefs, UnknownNamesGiveAnEmptyHandleNotACrash)
{
    Window w(tabbedDef());
    Control none = w.control("NoSuchControl");
    EXPECT_FALSE(none.exists());
    none.setText("x");
    none.hide();
    none.enable();
    EXPECT_EQ(none.text(), QString());
    EXPECT_FALSE(none.value().isValid());
    int v = 0;
    w.bind("NoSuchControl", bindTo(v));
    w.display();
}

TEST(WindowDefs, TabsShowTheirControlsAndBindingsGoThroughPictures)
{
    WindowKit kit;
    int32_t day = 72942;  // 12 September 2000
    uint8_t tick = 0;
    QString cat = "1";
    struct Tabbed : WindowController {
        Tabbed(int32_t& d, uint8_t& t, QString& c) : WindowController("Tabbed", tabbedDef(), ProcedureTraits{})
        {
            window().bind("OnOne", bindTo(d));
            window().bind("OnTwo", bindTo(t));
            window().bind("Cat", bindTo(c));
        }
        QStringList accepted_;
        void accepted(const QString& c) override
        {
            accepted_ << c;
            WindowController::accepted(c);
        }
    };
    kit.start([&] { return std::make_unique<Tabbed>(day, tick, cat); });
    auto& w = static_cast<Tabbed&>(kit.window("Tabbed"));
    EXPECT_EQ(kit.text("Tabbed", "OnOne"), "12/09/2000");
    EXPECT_TRUE(w.control("OnOne").widget()->isVisible());
    EXPECT_FALSE(w.control("OnTwo").widget()->isVisible());
    EXPECT_TRUE(static_cast<QRadioButton*>(w.control("Cat1").widget())->isChecked());

    kit.replaceText("Tabbed", "OnOne", "31/12/2099");
    kit.tab("Tabbed");
    EXPECT_EQ(day, 109211);
    // No such day: the value stays, the typed text stays for the user to
    // mend, with a message, and the cursor stays there.
    kit.clearBoxes();
    kit.replaceText("Tabbed", "OnOne", "31/02/2026");
    kit.tab("Tabbed");
    EXPECT_EQ(day, 109211);
    EXPECT_EQ(kit.text("Tabbed", "OnOne"), "31/02/2026");
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_EQ(kit.boxes()[0].caption, "Invalid Entry");
    EXPECT_EQ(w.window().focusedControl(), "OnOne");
    kit.replaceText("Tabbed", "OnOne", "31/12/2099");
    kit.tab("Tabbed");
    kit.choose("Tabbed", "Cat", "0");
    EXPECT_EQ(cat, "0");
    EXPECT_TRUE(w.accepted_.contains("Cat"));

    kit.choose("Tabbed", "Sheet", "2");
    EXPECT_EQ(w.window().chosenTab("Sheet"), 2);
    EXPECT_FALSE(w.control("OnOne").widget()->isVisible());
    kit.press("Tabbed", "OnTwo");
    EXPECT_EQ(tick, 1);
    w.control("OnTwo").hide();
    kit.choose("Tabbed", "Sheet", "1");
    kit.choose("Tabbed", "Sheet", "2");
    EXPECT_FALSE(w.control("OnTwo").widget()->isVisible());  // hidden by the window's code stays hidden
}

TEST(WindowDefs, ADateSpinWithoutARangeKeepsToTheValidDays)
{
    static const WindowDef def{.title = "Dates",
                               .w = 100,
                               .h = 40,
                               .controls = {{.name = "Day", .kind = Kind::Spin, .x = 4, .y = 4, .w = 60, .h = 12, .picture = "D06-B"}}};
    Window w(def);
    auto* spin = w.control("Day").as<QAbstractSpinBox>();
    ASSERT_NE(spin, nullptr);
    for (auto [start, steps, expected] : {std::tuple{kLastDay, 1, kLastDay}, std::tuple{kFirstDay, -1, kFirstDay},
                                          std::tuple{kLastDay - 1, 5, kLastDay}}) {
        w.control("Day").setValue(start);
        spin->stepBy(steps);
        EXPECT_EQ(w.control("Day").value().toLongLong(), expected) << start << " " << steps;
    }
}

TEST(WindowDefs, FrameChildrenLiveInTheMdiAreaOthersAreTopLevel)
{
    QMdiArea area;
    setFrameArea(&area);
    WindowDef child = tabbedDef();
    child.mdi = true;
    {
        Window w(child);
        EXPECT_TRUE(w.isMdiChild());
        EXPECT_EQ(area.subWindowList().size(), 1);
        EXPECT_EQ(qobject_cast<QMdiSubWindow*>(w.outer())->widget(), &w);
        // The sub-window opens at the window's designed size, not shrunk to
        // its title bar.
        const QSize designed = w.size();
        w.outer()->show();
        QApplication::processEvents();
        EXPECT_EQ(w.size(), designed);
    }
    EXPECT_TRUE(area.subWindowList().isEmpty());
    Window top(tabbedDef());
    EXPECT_FALSE(top.isMdiChild());
    EXPECT_TRUE(top.isWindow());
    setFrameArea(nullptr);
}

TEST(Wallpaper, KindsStylesAndUnreadableFiles)
{
    WindowKit kit;
    QImage img(8, 8, QImage::Format_RGB32);
    img.fill(Qt::blue);
    ASSERT_TRUE(img.save(kit.folder("Paper.bmp")));
    QFile junk(kit.folder("Junk.jpg"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not an image");
    junk.close();

    auto open = [&](const char* name, WallpaperKind kind) -> Window& {
        ProcedureTraits t;
        t.wallpaper = kind;
        kit.start([=] { return std::make_unique<SampleWnd>(name, t); });
        return kit.window(name).window();
    };
    BrWallPaper = "";
    BrWallPaperStyle = "Tiled";
    Window& blank = open("BlankBr", WallpaperKind::Browse);
    EXPECT_FALSE(blank.hasWallpaperImage());
    EXPECT_TRUE(blank.tiled());

    FrWallPaper = kit.folder("Paper.bmp");
    FrWallPaperStyle = "Stretched  ";
    Window& form = open("PaperFr", WallpaperKind::Form);
    EXPECT_TRUE(form.hasWallpaperImage());
    EXPECT_TRUE(form.stretched());
    EXPECT_FALSE(form.tiled());

    WdWallPaper = kit.folder("Junk.jpg");
    WdWallPaperStyle = "centered";  // letter case counts: no flag
    Window& other = open("JunkWnd", WallpaperKind::Other);
    EXPECT_FALSE(other.hasWallpaperImage());
    EXPECT_FALSE(other.centered());

    ASSERT_TRUE(img.save(kit.folder("Window_Bgr.jpg"), "JPG"));
    Window& progress = open("SomeRp", WallpaperKind::FixedTiled);
    EXPECT_TRUE(progress.hasWallpaperImage());
    EXPECT_TRUE(progress.tiled());
    Window& none = open("AboutLike", WallpaperKind::None);
    EXPECT_TRUE(none.wallpaper().isEmpty());
    EXPECT_TRUE(kit.boxes().empty());
}

// A picture named without a file of the user's is the program's own.
TEST(Wallpaper, TheProgramsOwnPicturesStandInAndEveryNamedPictureIsShipped)
{
    WindowKit kit;
    for (const char* kindName : {"Browse_Bgr.gif", "Form_Bgr.gif", "Vendrolix.jpg"}) {
        SCOPED_TRACE(kindName);
        BrWallPaper = kindName;
        BrWallPaperStyle = "Tiled";
        ProcedureTraits t;
        t.wallpaper = WallpaperKind::Browse;
        const QString name = QStringLiteral("Own%1Br").arg(kindName[0]);
        kit.start([=] { return std::make_unique<SampleWnd>(name, t); });
        EXPECT_TRUE(kit.window(name).window().hasWallpaperImage());
    }
    BrWallPaper.clear();
    BrWallPaperStyle.clear();
    // Every picture and icon the windows name, readable among the program's own.
    const char* const named[] = {
        "Vendrolix.jpg", "ToolBar_Bgr.jpg", "ToolBar_Bgr.gif", "Browse_Bgr.gif", "Form_Bgr.gif", "Window_Bgr.jpg",
        "Tarn-Vel.gif", "Fract480.gif", "smiling.gif", "U_Rings.gif", "DYMINUS.ICO", "DYPLUS.ICO", "WKMINUS.ICO",
        "WKPLUS.ICO", "MOMINUS.ICO", "MOPLUS.ICO", "YRMINUS.ICO", "YRPLUS.ICO", "TODAY.ICO", "calendar2.ico",
        "Note.ico", "CalcTapr3.ico", "ClipBrd.ico", "DailyNote.ico", "Printer.ico", "Sounds.ico", "WizDel.ico",
        "WizFind.ico", "world.ico", "0dn.ico", "0up.ico", "2People.ico", "Vendrolix.ico", "Tarn-Vel.ico"};
    for (const char* n : named) {
        const QString f = findPictureFile(QDir(kit.folder()).filePath(n));
        EXPECT_TRUE(f.startsWith(':')) << n;
        EXPECT_FALSE(QImageReader(f).read().isNull()) << n;
    }
}

TEST(Placement, SavedPerProcedureAndRestoredUnlessOffEveryScreen)
{
    WindowKit kit;
    kit.start([] { return std::make_unique<SampleWnd>("PlacedWnd", ProcedureTraits{}); });
    QWidget* outer = kit.window("PlacedWnd").window().outer();
    outer->move(40, 30);
    outer->resize(300, 200);
    kit.press("PlacedWnd", "Close");
    const QString ini = kit.ini();
    EXPECT_EQ(readIni(ini, "PlacedWnd", "Maximize", ""), "No");
    EXPECT_EQ(readIniInt(ini, "PlacedWnd", "XPos", -1), 40);
    EXPECT_EQ(readIniInt(ini, "PlacedWnd", "YPos", -1), 30);
    EXPECT_EQ(readIniInt(ini, "PlacedWnd", "Width", -1), 300);
    EXPECT_EQ(readIniInt(ini, "PlacedWnd", "Height", -1), 200);

    kit.start([] { return std::make_unique<SampleWnd>("PlacedWnd", ProcedureTraits{}); });
    EXPECT_EQ(kit.window("PlacedWnd").window().outer()->geometry().size(), QSize(300, 200));
    EXPECT_EQ(kit.window("PlacedWnd").window().outer()->pos(), QPoint(40, 30));
    kit.press("PlacedWnd", "Close");

    // Off every screen, or garbage: the designed place.
    writeIni(ini, "LostWnd", "XPos", "-90000");
    writeIni(ini, "LostWnd", "YPos", "-90000");
    writeIni(ini, "LostWnd", "Width", "300");
    writeIni(ini, "LostWnd", "Height", "abc");
    kit.start([] { return std::make_unique<SampleWnd>("LostWnd", ProcedureTraits{}); });
    const Window& lost = kit.window("LostWnd").window();
    EXPECT_EQ(lost.outer()->size(), QSize(lost.units().x(160), lost.units().y(80)));

    // A window that keeps its designed place writes nothing.
    ProcedureTraits fixed;
    fixed.keepsPlacement = false;
    kit.start([fixed] { return std::make_unique<SampleWnd>("FixedWnd", fixed); });
    kit.press("FixedWnd", "Close");
    EXPECT_EQ(readIni(ini, "FixedWnd", "Maximize", "none"), "none");

    writeIni(ini, "MaxWnd", "Maximize", "Yes");
    kit.start([] { return std::make_unique<SampleWnd>("MaxWnd", ProcedureTraits{}); });
    EXPECT_TRUE(kit.window("MaxWnd").window().outer()->isMaximized());
}

TEST(Help, TheHelpButtonOpensTheHelpFileAtTheWindowsTopic)
{
    WindowKit kit;
    static const WindowDef def{
        .title = "Helped",
        .w = 80,
        .h = 40,
        .controls = {{.name = "Help", .kind = Kind::Button, .text = "Help", .x = 4, .y = 4, .w = 40, .h = 14, .flags = HelpButton}}};
    QString file, topic;
    setHelpHandler([&](const QString& f, const QString& t) { file = f, topic = t; });
    kit.start([] { return std::make_unique<WindowController>("HelpedWnd", def, ProcedureTraits{}); });
    kit.press("HelpedWnd", "Help");
    EXPECT_EQ(file, "VenHelp.hlp");
    EXPECT_EQ(topic, "HelpedWnd");
    kit.window("HelpedWnd").helpTopic = "DiaryBrw";
    kit.press("HelpedWnd", "Help");
    EXPECT_EQ(topic, "DiaryBrw");
    setHelpHandler({});
}

TEST(ErrorReporter, MessageBoxesOfTheTable)
{
    WindowKit kit;
    EXPECT_EQ(messageBox("One|Two", "Caption", Icon::Question, "&Yes|&No", 2), 2);
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_EQ(kit.boxes()[0].text, "One\nTwo");
    EXPECT_EQ(kit.boxes()[0].buttons, QStringList({"&Yes", "&No"}));
    EXPECT_EQ(kit.boxes()[0].icon, Icon::Question);

    kit.answer(2);
    EXPECT_EQ(errors().show(9), 2);
    EXPECT_EQ(kit.boxes()[1].caption, "Confirm Delete");
    EXPECT_EQ(kit.boxes()[1].buttons, QStringList({"&Yes", "&No"}));

    EXPECT_EQ(errors().show(16, {{}, {}, "Amount", "0 and 1000"}), 1);
    EXPECT_EQ(kit.boxes()[2].text, "The value of Amount must be between 0 and 1000.");
    EXPECT_EQ(kit.boxes()[2].buttons, QStringList({"&OK"}));
    EXPECT_FALSE(kit.fatalShown());

    errors().show(23, {"VenTst", "gone", {}, {}});
    EXPECT_EQ(kit.boxes()[3].icon, Icon::Stop);
    EXPECT_TRUE(kit.boxes()[3].text.endsWith(".  Error: gone.  Press OK to close this window."));
    EXPECT_TRUE(kit.fatalShown());
    EXPECT_EQ(errors().show(29), 0);  // no such message
}

} // namespace
} // namespace ven::test

namespace ven::test {
namespace {
// A window whose button meets a file that cannot be opened.
class NeedsFile : public WindowController {
public:
    explicit NeedsFile(const QString& name)
        : WindowController(name, kDef, ProcedureTraits{})
    {
    }

protected:
    void accepted(const QString& control) override
    {
        if (control == u"Go") {
            errors().show(23, {"VenTst", "file is not a database", {}, {}});
            ++afterMessage;  // the handler goes on; the window closes after it
        }
        WindowController::accepted(control);
    }
    bool closeRequested() override { return !refuse; }  // refuses every other close

public:
    static inline int afterMessage = 0;
    static inline bool refuse = true;

private:
    static inline const WindowDef kDef{.title = "Needs a file", .w = 100, .h = 40,
                                       .controls = {{.name = "Go", .kind = Kind::Button, .text = "Go", .x = 4, .y = 4, .w = 40, .h = 14}}};
};
} // namespace

// A file that cannot be used closes the window that needed it, whatever
// its own rules; the program and its other windows run on.
TEST(ErrorReporter, AFatalMessageClosesOnlyTheWindowThatNeededTheFile)
{
    WindowKit kit;
    kit.start([] { return std::make_unique<NeedsFile>("First"); });
    kit.start([] { return std::make_unique<NeedsFile>("Second"); });
    ASSERT_TRUE(kit.isOpen("First") && kit.isOpen("Second"));
    kit.press("First", "Go");
    kit.settle();
    EXPECT_EQ(NeedsFile::afterMessage, 1);
    EXPECT_FALSE(kit.isOpen("First"));
    EXPECT_TRUE(kit.isOpen("Second"));
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_EQ(kit.boxes()[0].text, "File (VenTst) could not be opened.  Error: file is not a database.  Press OK to close this window.");
    EXPECT_TRUE(kit.fatalShown());
    NeedsFile::refuse = false;
}

} // namespace ven::test
