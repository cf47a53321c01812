// The frame's life under a window manager: what the window manager's close
// means for each window, the lock, the commands that follow the windows,
// help topics, wallpapers, the status bar, the first size and the
// configuration's refusals.
#include "E2eKit.h"
#include "Seeds.h"

#include "platform/KeyedFile.h"

#include <QDir>
#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

using namespace ven;
using namespace ven::e2e;

namespace {

QRect rectOf(const QJsonValue& v)
{
    const QJsonObject o = v.toObject();
    return QRect(o.value("x").toInt(), o.value("y").toInt(), o.value("w").toInt(), o.value("h").toInt());
}

// The frame as shown and not minimized.
bool frameShown(const E2eKit& kit)
{
    const Found f = kit.frame();
    return f && !f.json.value("minimized").toBool();
}

bool frameHidden(const E2eKit& kit)
{
    const Found f = kit.frame();
    return !f || f.json.value("minimized").toBool();
}

// Waits for `n` ticks of the frame's title clock: whatever the frame does
// on its ticks has been done by then.
void waitTicks(const E2eKit& kit, int n)
{
    for (int i = 0; i < n; ++i) {
        const QString before = kit.frame().title();
        kit.waitFor([&] { return kit.frame() && kit.frame().title() != before; }, "a tick of the frame's clock", 4000);
    }
}

// A toolbar button of the frame by the start of its tip or its text.
Found toolButton(const E2eKit& kit, const QString& tipOrText)
{
    for (const QJsonValue& c : kit.controls("Main")) {
        const QJsonObject o = c.toObject();
        if (o.value("class").toString() == "QToolButton"
            && (o.value("tip").toString().startsWith(tipOrText) || o.value("text").toString() == tipOrText))
            return Found{o};
    }
    return {};
}

// Started, shown and the active window, so that keys reach it.
void startPrepared(E2eKit& kit)
{
    kit.start();
    ASSERT_TRUE(kit.waitFor([&] { return frameShown(kit); }, "the frame"));
    kit.activate("Main");
}

} // namespace

// ------------------------------------------------------------ closing ---

TEST(FrameLife, TheWindowManagersCloseOfTheFrameAsksAsAltF4Does)
{
    E2eKit kit;
    kit.prepareFolder();
    startPrepared(kit);
    kit.closeByWindowManager("Main");
    ASSERT_TRUE(kit.waitWindow("CloseVendrolix")) << "Alt+F4 asks first";
    EXPECT_TRUE(kit.running());
    EXPECT_TRUE(kit.clipboard().startsWith("01.01.1900 = 36163\r\n31.12.2099 = 109211\r\n10.12.2026 = "))
        << kit.clipboard().toStdString();
    kit.clickControl("CloseVendrolix", "No");
    ASSERT_TRUE(kit.waitGone("CloseVendrolix"));
    EXPECT_TRUE(kit.running());
    EXPECT_EQ(kit.ini("Main", "Vendrolix:Running"), "Yes");

    // The close box asks the same, and Yes ends the program.
    kit.clickCloseBox("Main");
    ASSERT_TRUE(kit.waitWindow("CloseVendrolix"));
    kit.clickControl("CloseVendrolix", "Yes");
    kit.expectOrderlyEnd();
}

TEST(FrameLife, TheLogInAndTheLockTakeNoCloseFromTheWindowManager)
{
    E2eKit kit;
    kit.prepareFolder();
    kit.seed([] {
        Context ctx;
        putRecord(ctx, VenUsr, [](Record& r) {
            r.set(USR::NAME, "Ada Lovelace");
            r.set(USR::PWD, "tulip");
        });
        ctx.closeAll();
    });
    kit.start();
    ASSERT_TRUE(kit.waitWindow("LoginWnd"));
    kit.closeByWindowManager("LoginWnd");
    kit.clickCloseBox("LoginWnd");
    // Still there to take the password: the program goes on.
    kit.activate("LoginWnd");
    kit.type("tulip");
    kit.key("Return");
    ASSERT_TRUE(kit.waitGone("LoginWnd"));
    ASSERT_TRUE(kit.waitFor([&] { return frameShown(kit) && kit.frame().title().contains(" \u00b7 "); },
                            "the frame after the log-in"));
    EXPECT_TRUE(kit.running());
    EXPECT_TRUE(kit.log().contains("Login: Ada Lovelace in ")) << kit.log().toStdString();

    // Locked, the window manager's close leaves it locked; only the
    // password opens it.
    kit.key("alt+F9");
    ASSERT_TRUE(kit.waitWindow("LockVendrolixWnd"));
    kit.activate("LockVendrolixWnd");
    kit.type("sesame");
    kit.key("Return");
    ASSERT_TRUE(kit.waitFor([&] { return frameHidden(kit); }, "the frame to hide once locked"));
    kit.closeByWindowManager("LockVendrolixWnd");
    kit.type("sesame");
    kit.key("Return");
    ASSERT_TRUE(kit.waitGone("LockVendrolixWnd"));
    ASSERT_TRUE(kit.waitFor([&] { return frameShown(kit); }, "the frame back after the password"));
}

TEST(FrameLife, TheLockHidesTheFrameOnlyWhenSetAndCancelLeavesAllAsItWas)
{
    E2eKit kit;
    kit.prepareFolder();
    startPrepared(kit);
    kit.menu("&Vendrolix", {"Ca&lendar"});
    ASSERT_TRUE(kit.waitWindow("CalendarWnd"));
    kit.key("alt+F9");
    ASSERT_TRUE(kit.waitWindow("LockVendrolixWnd"));
    kit.type("ses");  // typed, not locked
    waitTicks(kit, 3);
    EXPECT_TRUE(frameShown(kit)) << "the frame hid before the lock was set";
    kit.clickControl("LockVendrolixWnd", "Cancel");
    ASSERT_TRUE(kit.waitGone("LockVendrolixWnd"));
    waitTicks(kit, 2);
    EXPECT_TRUE(frameShown(kit));
    EXPECT_TRUE(kit.window("CalendarWnd")) << "the frame's child stays as it was";
}

// The clocks stand in for the hidden frame: their close by the window
// manager brings it back.
TEST(FrameLife, TheClocksCloseByTheWindowManagerBringsTheFrameBack)
{
    E2eKit kit;
    kit.prepareFolder();
    startPrepared(kit);

    kit.key("F5");
    ASSERT_TRUE(kit.waitWindow("TimeDisplayWnd"));
    ASSERT_TRUE(kit.waitFor([&] { return frameHidden(kit); }, "the frame to hide behind the digital clock"));
    kit.closeByWindowManager("TimeDisplayWnd");
    ASSERT_TRUE(kit.waitGone("TimeDisplayWnd"));
    EXPECT_TRUE(kit.waitFor([&] { return frameShown(kit); }, "the frame back after the digital clock"));

    kit.activate("Main");
    kit.key("ctrl+a");
    ASSERT_TRUE(kit.waitWindow("AnalogClockWnd"));
    ASSERT_TRUE(kit.waitFor([&] { return frameHidden(kit); }, "the frame to hide behind the analog clock"));
    kit.clickCloseBox("AnalogClockWnd");
    ASSERT_TRUE(kit.waitGone("AnalogClockWnd"));
    EXPECT_TRUE(kit.waitFor([&] { return frameShown(kit); }, "the frame back after the analog clock's close box"));
}

// The calculator's close box is its own close, with its closing steps.
TEST(FrameLife, TheCalculatorsCloseBoxClosesItWithItsClosingSteps)
{
    E2eKit kit;
    kit.prepareFolder();
    seedSmallDataSet(kit);  // the calculator's exchange rates
    startPrepared(kit);
    kit.menu("&Vendrolix", {"&Calculator"});
    ASSERT_TRUE(kit.waitWindow("CalculatorWnd"));
    kit.clickCloseBox("CalculatorWnd");
    ASSERT_TRUE(kit.waitGone("CalculatorWnd"));
    EXPECT_TRUE(kit.running());
    EXPECT_FALSE(kit.ini("Main", "Decimals").isEmpty()) << "its closing steps ran";
}

// ----------------------------------------------------- command states ---

TEST(FrameLife, CommandStatesFollowEveryWindowsOpeningAndClosing)
{
    E2eKit kit;
    kit.prepareFolder();
    seedSmallDataSet(kit);
    startPrepared(kit);
    const auto dailyNotesEnabled = [&] {
        kit.menu("&Registers", {});
        Found item;
        kit.waitFor([&] { return bool(item = kit.control("Registers", "Daily Notes")); }, "the Registers menu");
        kit.key("Escape");
        kit.waitGone("Registers", 3000);
        return item.json.value("enabled").toBool();
    };
    kit.menu("&Vendrolix", {"Ca&lendar"});
    ASSERT_TRUE(kit.waitWindow("CalendarWnd"));
    EXPECT_FALSE(dailyNotesEnabled()) << "Daily Notes stays enabled beside the calendar";
    kit.clickCloseBox("CalendarWnd");
    ASSERT_TRUE(kit.waitGone("CalendarWnd"));
    EXPECT_TRUE(dailyNotesEnabled());

    // A form that refuses the close greys Exit while it is open; its Cancel
    // gives Exit back.
    kit.menu("&Vendrolix", {"&Addresses"});
    ASSERT_TRUE(kit.waitWindow("NameBr"));
    kit.clickControl("NameBr", "Insert");
    ASSERT_TRUE(kit.waitWindow("NameFr"));
    ASSERT_TRUE(kit.waitFor([&] { return !toolButton(kit, ">>--->>> Exit").json.value("enabled").toBool(); },
                            "the open form to grey Exit"));
    EXPECT_TRUE(kit.running());
    // The form opened over its list, over the frame: the frame's menu
    // raised the frame over it.
    kit.activate("NameFr");
    kit.clickControl("NameFr", "Cancel");
    ASSERT_TRUE(kit.waitGone("NameFr"));
    EXPECT_TRUE(kit.waitFor([&] { return toolButton(kit, ">>--->>> Exit").json.value("enabled").toBool(); },
                            "Exit enabled once the form has closed", 3000));
}

// ------------------------------------------------------------- help ---

TEST(FrameLife, HelpOpensAtTheCallingWindowsTopic)
{
    E2eKit kit;
    kit.prepareFolder();
    startPrepared(kit);
    kit.menu("&Vendrolix", {"Ala&rms"});
    ASSERT_TRUE(kit.waitWindow("AlarmsBr"));
    kit.clickControl("AlarmsBr", "Help");
    ASSERT_TRUE(kit.waitWindow("HelpWnd"));
    QString current;
    EXPECT_TRUE(kit.waitFor([&] {
        for (const QJsonValue& r : kit.rows("HelpWnd", "List"))
            if (r.toObject().value("current").toBool())
                current = r.toObject().value("cells").toArray().at(0).toString();
        return current == "AlarmsBr";
    }, "the help at the topic AlarmsBr"))
        << current.toStdString();
}

// ------------------------------------------------------- wallpapers ---

namespace {

// A picture whose left half is magenta and right half cyan, so that a
// screenshot tells how it was laid: stretched, tiled or centred.
constexpr int kPicture = 24;

void writePicture(const QString& file)
{
    QImage img(kPicture, kPicture, QImage::Format_RGB32);
    for (int y = 0; y < kPicture; ++y)
        for (int x = 0; x < kPicture; ++x)
            img.setPixel(x, y, x < kPicture / 2 ? qRgb(255, 0, 255) : qRgb(0, 255, 255));
    ASSERT_TRUE(img.save(file));
}

bool near(QRgb p, int r, int g, int b)
{
    return std::abs(qRed(p) - r) < 40 && std::abs(qGreen(p) - g) < 40 && std::abs(qBlue(p) - b) < 40;
}

// How the picture lies in `area` of the screenshot.
QString layOf(const QImage& shot, const QRect& area)
{
    QRect magenta, cyan;
    int transitionsMax = 0;
    const QRect r = area & shot.rect();
    for (int y = r.top(); y <= r.bottom(); ++y) {
        int transitions = 0;
        bool wasMagenta = false;
        for (int x = r.left(); x <= r.right(); ++x) {
            const QRgb p = shot.pixel(x, y);
            const bool m = near(p, 255, 0, 255), c = near(p, 0, 255, 255);
            if (m)
                magenta |= QRect(x, y, 1, 1);
            if (c)
                cyan |= QRect(x, y, 1, 1);
            if (c && wasMagenta)
                ++transitions;
            if (m || c)
                wasMagenta = m;
        }
        transitionsMax = std::max(transitionsMax, transitions);
    }
    if (magenta.isEmpty() || cyan.isEmpty())
        return "none";
    const QRect both = magenta | cyan;
    if (transitionsMax >= 3)
        return "Tiled";
    if (both.width() <= kPicture + 2 && both.height() <= kPicture + 2) {
        const QPoint off = both.center() - r.center();
        return std::abs(off.x()) <= 3 && std::abs(off.y()) <= 3 ? "Centered" : "at its corner";
    }
    if (magenta.width() > r.width() / 3 && cyan.width() > r.width() / 3 && magenta.center().x() < cyan.center().x())
        return "Stretched";
    return "unknown";
}

} // namespace

TEST(FrameLife, EveryWallpaperInEveryStyle)
{
    for (const QString style : {"Tiled", "Centered", "Stretched"}) {
        SCOPED_TRACE(style.toStdString());
        E2eKit kit;
        kit.prepareFolder();
        const QString picture = kit.folder("pattern.png");
        writePicture(picture);
        for (const char* key : {"WallPaper", "TbWallPaper", "BrWallPaper", "FrWallPaper", "WdWallPaper"}) {
            kit.setIni("Main", key, picture);
            kit.setIni("Main", QString(key) + "Style", style);
        }
        startPrepared(kit);
        const QString shotFile = kit.folder("shot.png");
        // How the picture lies in `r` once it is painted there (what it
        // showed last if the style never shows).
        const auto lay = [&](const QRect& r) {
            QString seen;
            kit.waitFor([&] {
                kit.screenshot(shotFile);
                seen = layOf(QImage(shotFile), r);
                return seen == style;
            }, QString(), 3000, false);
            return seen;
        };
        const Found area = kit.control("Main", "Area");
        const Found toolbar = kit.control("Main", "Toolbar");
        ASSERT_TRUE(area && toolbar);
        EXPECT_EQ(lay(area.rect()), style) << "the frame";
        EXPECT_EQ(lay(toolbar.rect()), style) << "the toolbar";

        // A browse, a form and another window. A centred picture lies
        // under their controls, which fill their middle: those are seen
        // tiled and stretched.
        if (style == "Centered")
            continue;
        kit.menu("&Registers", {"&Users"});
        ASSERT_TRUE(kit.waitWindow("UserBr"));
        EXPECT_EQ(lay(rectOf(kit.window("UserBr").json.value("inner"))), style) << "a browse";
        kit.clickControl("UserBr", "Insert");
        ASSERT_TRUE(kit.waitWindow("UserFr"));
        EXPECT_EQ(lay(rectOf(kit.window("UserFr").json.value("inner"))), style) << "a form";
        kit.clickControl("UserFr", "Cancel");
        ASSERT_TRUE(kit.waitGone("UserFr"));
        kit.clickControl("UserBr", "Close");
        ASSERT_TRUE(kit.waitGone("UserBr"));
        kit.menu("&Vendrolix", {"&Quick Memo"});
        ASSERT_TRUE(kit.waitWindow("MemoWnd"));
        EXPECT_EQ(lay(rectOf(kit.window("MemoWnd").json.value("inner"))), style) << "another window";
    }
}

// ------------------------------------------------------- status bar ---

TEST(FrameLife, StatusZonesKeepTheirPlacesAndShowTheLockKeys)
{
    E2eKit kit;
    kit.prepareFolder();
    kit.seed([] {
        Context ctx;
        putRecord(ctx, VenAlarm, [](Record& r) {
            r.set(ALA::DATE, dayNumber(2026, 12, 10));
            r.set(ALA::TIME, 16 * 360000 + 1);
            r.set(ALA::MESSAGE, "M");
            r.set(ALA::DOW, "N");
            r.set(ALA::ACTION, "Collect the tickets for the evening concert at the town hall");
        });
        ctx.closeAll();
    });
    startPrepared(kit);
    Found z2, z3, z4;
    ASSERT_TRUE(kit.waitFor([&] {
        z2 = kit.control("Main", "Zone2");
        z3 = kit.control("Main", "Zone3");
        z4 = kit.control("Main", "Zone4");
        return z2 && z3 && z4 && z2.text().contains("Collect the tickets");
    }, "the next alarm in zone 2"));
    EXPECT_LE(z2.rect().right(), z3.rect().left()) << "zone 2 lies over zone 3";
    EXPECT_EQ(kit.control("Main", "Zone1").text(), "DLS/STD Time Missing!");
    // The frame grows to its first size as the window manager answers.
    EXPECT_TRUE(kit.waitFor([&] { return !kit.control("Main", "Zone1").json.value("clipped").toBool(); },
                            "zone 1 whole at the first size", 3000));
    z4 = kit.control("Main", "Zone4");
    EXPECT_TRUE(kit.frame().rect().contains(z4.rect())) << "zone 4 runs past the frame";
    EXPECT_FALSE(z4.json.value("clipped").toBool()) << "the folder is cut";
    EXPECT_EQ(z4.text(), QDir::toNativeSeparators(kit.folder()));

    // The lock keys as the X server's indicators show them. The keys are
    // pressed bare (xdotool's clearing of modifiers would toggle Num Lock
    // around Caps Lock); this server lights no Scroll Lock indicator, so
    // zone 7 is seen off only.
    const struct { const char *key, *zone, *letter; } keys[] = {{"Num_Lock", "Zone5", "N"}, {"Caps_Lock", "Zone6", "C"}};
    for (const auto& k : keys) {
        EXPECT_TRUE(kit.waitFor([&] { return kit.control("Main", k.zone).text() == "-"; }, QString(k.key) + " off"));
        kit.display().run("xdotool", {"key", k.key});
        EXPECT_TRUE(kit.waitFor([&] { return kit.control("Main", k.zone).text() == k.letter; },
                                QString("the letter ") + k.letter));
    }
    EXPECT_EQ(kit.control("Main", "Zone7").text(), "-");
    for (const auto& k : keys)
        kit.display().run("xdotool", {"key", k.key});
}

// -------------------------------------------------------- first size ---

TEST(FrameLife, TheFirstStartFrameHoldsTheWindowsItOpensAndEveryToolbarButton)
{
    E2eKit kit;
    kit.prepareFolder();
    seedSmallDataSet(kit);  // the calculator's exchange rates
    kit.setIni("Main", "Calendar", "1");  // the day calendar opens at start
    kit.setIni("Paths", "ChatFileName", kit.folder() + "/");  // the chat's shared folder
    startPrepared(kit);
    ASSERT_TRUE(kit.waitWindow("CalendarWnd"));
    const auto whole = [&](const QString& title) {
        return kit.waitFor([&] {
            const Found area = kit.control("Main", "Area");
            const Found w = kit.window(title);
            return area && w && area.rect().contains(w.rect());
        }, title + " whole in the frame", 5000);
    };
    EXPECT_TRUE(whole("CalendarWnd"));
    for (const char* text : {"NoMax", "Max", "No Ico", "Ico"})
        EXPECT_TRUE(toolButton(kit, text)) << text << " is behind the toolbar's overflow";
    for (const QJsonValue& c : kit.controls("Main"))
        EXPECT_NE(c.toObject().value("class").toString(), "QToolBarExtension");

    kit.menu("&Vendrolix", {"&Calculator"});
    ASSERT_TRUE(kit.waitWindow("CalculatorWnd"));
    EXPECT_TRUE(whole("CalculatorWnd"));
    kit.menu("&Vendrolix", {"C&hat"});
    ASSERT_TRUE(kit.waitWindow("ChatWnd"));
    EXPECT_TRUE(whole("ChatWnd"));
}

// ---------------------------------------------------- configuration ---

TEST(FrameLife, ConfigurationRefusesABackupPathInTheProgramFolderAndStaysOpenWhenItCannotSave)
{
    E2eKit kit;
    kit.prepareFolder();
    startPrepared(kit);
    kit.key("F12");
    ASSERT_TRUE(kit.waitWindow("ConfigureWnd"));
    const auto saveAndAnswer = [&](const QString& startOfText) {
        kit.clickControl("ConfigureWnd", "Save");
        const bool shown = kit.waitFor([&] {
            for (const QJsonValue& w : kit.windows())
                if (w.toObject().value("title").toString() == "Error!")
                    for (const QJsonValue& c : kit.controls("Error!"))
                        if (c.toObject().value("text").toString().startsWith(startOfText))
                            return true;
            return false;
        }, "the message " + startOfText);
        kit.key("Return");
        kit.waitGone("Error!");
        return shown;
    };
    kit.clickControl("ConfigureWnd", "BackUpPath");
    kit.type("mybackup");
    EXPECT_TRUE(saveAndAnswer("Backup Path may NOT be a Subdirectory of Vendrolix Main Directory!"));
    EXPECT_TRUE(kit.window("ConfigureWnd"));
    EXPECT_FALSE(QDir(kit.folder("mybackup#1")).exists());

    // The settings file cannot be written: the window keeps the edits.
    const QString outside = kit.folder() + "-backup";
    kit.clickControl("ConfigureWnd", "BackUpPath");
    kit.key("ctrl+a");
    kit.type(outside);
    ASSERT_TRUE(QFile::remove(kit.folder("Vendrolix.ini")));
    ASSERT_TRUE(QDir().mkdir(kit.folder("Vendrolix.ini")));
    EXPECT_TRUE(saveAndAnswer("The settings could not be written to "));
    ASSERT_TRUE(kit.window("ConfigureWnd")) << "the edits were lost";
    EXPECT_EQ(kit.control("ConfigureWnd", "BackUpPath").text(), outside);
    ASSERT_TRUE(QDir().rmdir(kit.folder("Vendrolix.ini")));
    // Save keeps the focus after the message: Enter saves.
    EXPECT_EQ(kit.focus().value("control").toString(), "Save");
    kit.key("Return");
    ASSERT_TRUE(kit.waitGone("ConfigureWnd"));
    EXPECT_EQ(kit.ini("Paths", "BackUp_Path"), outside);
    QDir(outside + "#1").removeRecursively();
    QDir(outside + "#2").removeRecursively();
}

// Saving the configuration as it opened changes nothing a person keeps or
// sees: the settings file stays as it was, byte for byte, and the frame
// wears its wallpaper as before.
TEST(FrameLife, SavingTheConfigurationUnchangedLeavesTheSettingsAndTheFramesWallpaper)
{
    E2eKit kit;
    kit.prepareFolder();
    const QString backup = kit.folder() + "-backup";
    kit.setIni("Paths", "BackUp_Path", backup);
    startPrepared(kit);
    const Found area = kit.control("Main", "Area");
    const Found toolbar = kit.control("Main", "Toolbar");
    ASSERT_TRUE(area && toolbar);
    const QString shotFile = kit.folder("shot.png");
    // The frame's area and its toolbar, the pointer away from the buttons.
    const auto shot = [&] {
        kit.display().run("xdotool", {"mousemove", "0", "0"});
        kit.screenshot(shotFile);
        const QImage screen(shotFile);
        return std::pair{screen.copy(area.rect()).convertToFormat(QImage::Format_RGB32),
                         screen.copy(toolbar.rect()).convertToFormat(QImage::Format_RGB32)};
    };
    const auto settings = [&] {
        QFile f(kit.folder("Vendrolix.ini"));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    };
    waitTicks(kit, 1);
    const auto before = shot();
    const QString stored = settings();

    kit.key("F12");
    ASSERT_TRUE(kit.waitWindow("ConfigureWnd"));
    kit.clickControl("ConfigureWnd", "Save");
    ASSERT_TRUE(kit.waitGone("ConfigureWnd"));
    waitTicks(kit, 2);  // the frame reads its wallpapers again on a tick
    EXPECT_EQ(settings().toStdString(), stored.toStdString());
    const auto after = shot();
    const auto differing = [](const QImage& a, const QImage& b) {
        if (a.size() != b.size())
            return -1;
        int n = 0;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x)
                n += a.pixel(x, y) != b.pixel(x, y);
        return n;
    };
    EXPECT_EQ(differing(before.first, after.first), 0) << "pixels of the frame's wallpaper changed";
    EXPECT_EQ(differing(before.second, after.second), 0) << "pixels of the toolbar's wallpaper changed";
    QDir(backup + "#1").removeRecursively();
    QDir(backup + "#2").removeRecursively();
}

// ----------------------------------------------------- daylight saving ---

TEST(FrameLife, ADamagedDaylightSavingTableIsTold)
{
    E2eKit kit;
    kit.prepareFolder();
    QString table;
    kit.seed([&] { table = Store::instance().pathOf(Ven_DLS); });
    {
        QFile junk(table);
        ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
        junk.write(QByteArray(8192, 'x'));
    }
    kit.start();
    ASSERT_TRUE(kit.waitWindow("Daylight Saving Time"));
    bool told = false;
    for (const QJsonValue& c : kit.controls("Daylight Saving Time"))
        told = told || c.toObject().value("text").toString().contains("cannot be read");
    EXPECT_TRUE(told);
    kit.key("Return");
    ASSERT_TRUE(kit.waitGone("Daylight Saving Time"));
    EXPECT_TRUE(kit.waitFor([&] { return kit.control("Main", "Zone1").text() == "DLS/STD Table cannot be read!"; },
                            "zone 1 to say the table cannot be read"));
}
