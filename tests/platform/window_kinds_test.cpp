// Window kinds: frames, placements on the available area, status bar
// zones, line controls, animated pictures, regions' mouse-enter event and
// the notification-area icon.
#include "WindowKit.h"

#include "platform/TrayIcon.h"
#include "platform/WindowKinds.h"

#include <QLabel>
#include <QMovie>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QSystemTrayIcon>

#include <set>

namespace ven::test {
namespace {

// A window of a given definition that keeps no placement and records the
// field events it hears.
class KindWnd : public WindowController {
public:
    KindWnd(const char* name, const WindowDef& def) : WindowController(name, def, traits()) {}
    std::vector<std::pair<QString, FieldEvent>> heard;
    int mouseIns(const QString& control) const
    {
        return int(std::count(heard.begin(), heard.end(), std::pair(control, FieldEvent::MouseIn)));
    }

protected:
    void fieldEvent(const QString& control, FieldEvent e) override
    {
        heard.emplace_back(control, e);
        WindowController::fieldEvent(control, e);
    }

private:
    static ProcedureTraits traits()
    {
        ProcedureTraits t;
        t.keepsPlacement = false;
        return t;
    }
};

KindWnd& open(WindowKit& kit, const char* name, const WindowDef& def)
{
    kit.start([name, &def] { return std::make_unique<KindWnd>(name, def); });
    return static_cast<KindWnd&>(kit.window(name));
}

QRect frameOf(WindowController& w) { return w.window().outer()->frameGeometry(); }

TEST(WindowKinds, FramesWithoutTitleBarToolWindowsAndStayingOnTop)
{
    static const WindowDef plain{.title = "Plain", .w = 100, .h = 50};
    static const WindowDef noTitle{.title = "NoTitle", .w = 100, .h = 50, .frame = Frame::NoTitle, .onTop = true};
    static const WindowDef tool{.title = "Tool", .w = 20, .h = 20, .frame = Frame::Tool};

    Window p(plain), n(noTitle), t(tool);
    EXPECT_TRUE(p.windowFlags() & Qt::WindowTitleHint);
    EXPECT_FALSE(p.windowFlags() & Qt::WindowStaysOnTopHint);

    const Qt::WindowFlags nf = n.windowFlags();
    EXPECT_TRUE(n.isWindow());
    EXPECT_TRUE(nf & Qt::CustomizeWindowHint);
    EXPECT_FALSE(nf & Qt::WindowTitleHint);
    EXPECT_FALSE(nf & Qt::FramelessWindowHint);  // a border stays
    EXPECT_TRUE(nf & Qt::WindowStaysOnTopHint);

    const Qt::WindowFlags tf = t.windowFlags();
    EXPECT_EQ(tf & Qt::WindowType_Mask, Qt::Tool);
    EXPECT_TRUE(tf & Qt::FramelessWindowHint);
    EXPECT_TRUE(tf & Qt::WindowStaysOnTopHint);
}

TEST(WindowKinds, PlacementsKeepTheWindowOnTheAvailableArea)
{
    WindowKit kit;
    static const WindowDef centred{.title = "Centred", .w = 120, .h = 60, .placement = Placement::Centred};
    static const WindowDef fixedIn{.title = "FixedIn", .w = 60, .h = 30, .placement = Placement::Fixed, .x = 10, .y = 12};
    static const WindowDef fixedOut{.title = "FixedOut", .w = 60, .h = 30, .placement = Placement::Fixed, .x = 5000, .y = -300};

    KindWnd& c = open(kit, "Centred", centred);
    const QRect area = c.window().availableArea();
    ASSERT_FALSE(area.isEmpty());
    EXPECT_LE((frameOf(c).center() - area.center()).manhattanLength(), 2);

    KindWnd& in = open(kit, "FixedIn", fixedIn);
    const DialogUnits& du = in.window().units();
    EXPECT_EQ(frameOf(in).topLeft(), area.topLeft() + QPoint(du.x(10), du.y(12)));

    KindWnd& out = open(kit, "FixedOut", fixedOut);
    EXPECT_TRUE(area.contains(frameOf(out))) << "kept on the area, at its right edge and top";
    EXPECT_EQ(frameOf(out).right(), area.right());
    EXPECT_EQ(frameOf(out).top(), area.top());

    // Random places within a range, also where the range reaches off the
    // screen, as the clocks' hops do.
    const QRect range(QPoint(-3, -26), QPoint(66, 87));
    for (int i = 0; i < 50; ++i) {
        in.window().placeRandomly(range);
        const QRect f = frameOf(in);
        ASSERT_TRUE(area.contains(f)) << f.x() << "," << f.y();
        EXPECT_LE(f.x() - area.x(), du.x(66));
        EXPECT_LE(f.y() - area.y(), du.y(87));
    }

    // A window larger than the area keeps to its top left.
    EXPECT_EQ(keptOnArea(QRect(300, 300, 5000, 5000), QRect(0, 20, 800, 580)), QPoint(0, 20));
}

TEST(WindowKinds, StatusBarZonesStandUnderTheControls)
{
    WindowKit kit;
    static const WindowDef def{.title = "Zones", .w = 200, .h = 100, .statusZones = {10, -1, 10},
                               .controls = {{.name = "Bottom", .kind = Kind::Button, .text = "Close", .x = 150, .y = 86, .w = 45, .h = 14}}};
    KindWnd& w = open(kit, "Zones", def);
    Window& win = w.window();
    ASSERT_EQ(win.statusZoneCount(), 3);
    win.setStatusText(2, "No Alarms!");
    win.setStatusText(4, "nowhere");  // no such zone: nothing
    EXPECT_EQ(win.statusText(2), "No Alarms!");
    EXPECT_EQ(win.statusText(4), QString());

    auto* bar = win.findChild<QStatusBar*>("StatusBar");
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->geometry().bottom(), win.height() - 1);
    EXPECT_EQ(bar->width(), win.width());
    EXPECT_GE(bar->geometry().top(), win.control("Bottom").widget()->geometry().bottom()) << "the bar covers no control";
    auto* zone1 = bar->findChild<QLabel*>("Zone1");
    auto* zone2 = bar->findChild<QLabel*>("Zone2");
    ASSERT_TRUE(zone1 && zone2);
    EXPECT_EQ(zone1->width(), win.units().x(10));
    EXPECT_GT(zone2->width(), zone1->width() * 5) << "the middle zone takes the rest";
    EXPECT_TRUE(zone2->isVisible());
}

TEST(WindowKinds, LinesRunFromTheirAnchorAndLetClicksThrough)
{
    WindowKit kit;
    static const WindowDef def{.title = "Dial", .w = 344, .h = 260,
                               .controls = {{.name = "Under", .kind = Kind::Button, .text = "Under", .x = 150, .y = 60, .w = 44, .h = 40},
                                            {.name = "Hand", .kind = Kind::Line, .x = 172, .y = 129, .w = 0, .h = -56, .color = 0xFFFFFF,
                                             .stroke = 14}}};
    KindWnd& w = open(kit, "Dial", def);
    Control hand = w.control("Hand");
    const DialogUnits& du = w.window().units();
    auto* line = hand.as<LineControl>();
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(hand.lineSize(), QSize(0, -56));
    EXPECT_EQ(line->line(), QLine(du.x(172), du.y(129), du.x(172), du.y(73)));

    // Three o'clock, then a hand to the lower left: signed extents.
    hand.setLine(56, 0);
    EXPECT_EQ(line->line(), QLine(du.x(172), du.y(129), du.x(228), du.y(129)));
    hand.setLine(-40, 30);
    EXPECT_EQ(hand.lineSize(), QSize(-40, 30));
    EXPECT_EQ(line->line(), QLine(du.x(172), du.y(129), du.x(132), du.y(159)));
    EXPECT_TRUE(line->geometry().contains(line->line().p2()));

    // The button under the hand still takes the click.
    hand.setLine(0, -56);
    const QPoint onBoth(du.x(172), du.y(80));
    ASSERT_TRUE(line->geometry().contains(onBoth));
    EXPECT_EQ(w.window().childAt(onBoth), w.control("Under").widget());
    // Other controls have no line.
    w.control("Under").setLine(5, 5);
    EXPECT_EQ(w.control("Under").lineSize(), QSize(0, 0));
}

TEST(WindowKinds, AnimatedPicturesPlayOnButtonsAndImages)
{
    WindowKit kit;
    static const WindowDef def{.title = "Pictures", .w = 200, .h = 80,
                               .controls = {{.name = "Smile", .kind = Kind::Button, .x = 4, .y = 4, .w = 58, .h = 23, .tip = "Close Window",
                                             .icon = "Wink.gif", .flags = Default, .closes = RequestCompleted},
                                            {.name = "Still", .kind = Kind::Button, .x = 70, .y = 4, .w = 58, .h = 23, .icon = "Tarn-Vel.gif"},
                                            {.name = "Face", .kind = Kind::Image, .x = 140, .y = 4, .w = 40, .h = 40, .icon = "Wink.gif"}}};
    KindWnd& w = open(kit, "Pictures", def);
    auto* smile = w.control("Smile").as<QPushButton>();
    auto* movie = smile->findChild<QMovie*>("Movie");
    ASSERT_NE(movie, nullptr);
    EXPECT_EQ(movie->state(), QMovie::Running);
    EXPECT_GT(movie->frameCount(), 1);
    EXPECT_FALSE(smile->icon().isNull());
    EXPECT_GT(smile->iconSize().height(), 16) << "the picture fills the button";
    EXPECT_LE(smile->iconSize().height(), smile->height());
    const qint64 first = smile->icon().cacheKey();
    movie->jumpToNextFrame();
    EXPECT_NE(smile->icon().cacheKey(), first) << "the icon follows the movie";
    // A movie that plays for hours shows the same few icons again: each new
    // one would leave another scaled copy in the pixmap cache.
    std::set<qint64> shown;
    for (int round = 0; round < 3; ++round)
        for (int f = 0; f < movie->frameCount(); ++f) {
            movie->jumpToFrame(f);
            shown.insert(smile->icon().cacheKey());
        }
    EXPECT_EQ(int(shown.size()), movie->frameCount());

    auto* still = w.control("Still").as<QPushButton>();
    EXPECT_EQ(still->findChild<QMovie*>(), nullptr);
    EXPECT_FALSE(still->icon().isNull());

    auto* face = w.control("Face").as<QLabel>();
    ASSERT_NE(face->movie(), nullptr);
    EXPECT_EQ(face->movie()->state(), QMovie::Running);

    // The picture button still does what its declaration says.
    kit.press("Pictures", "Smile");
    EXPECT_FALSE(kit.isOpen("Pictures"));
}

TEST(WindowKinds, TheMouseEnteringARegionReachesTheController)
{
    WindowKit kit;
    // A hot region under a button that covers it, as the floating button
    // has, and a region of its own beside it.
    static const WindowDef def{.title = "Hot", .w = 120, .h = 40,
                               .controls = {{.name = "Hot", .kind = Kind::Region, .x = 0, .y = 0, .w = 40, .h = 40},
                                            {.name = "Catch", .kind = Kind::Button, .x = 0, .y = 0, .w = 40, .h = 40},
                                            {.name = "Side", .kind = Kind::Region, .x = 60, .y = 0, .w = 40, .h = 40}}};
    KindWnd& w = open(kit, "Hot", def);
    QWidget* win = &w.window();
    const DialogUnits& du = w.window().units();
    const QPoint onHot(du.x(20), du.y(20)), onSide(du.x(80), du.y(20)), between(du.x(50), du.y(20));

    // (The window may open under the mouse where an earlier test left it.)
    QTest::mouseMove(win, between);
    w.heard.clear();
    QTest::mouseMove(win, between + QPoint(2, 0));
    EXPECT_EQ(w.mouseIns("Hot") + w.mouseIns("Side"), 0);
    QTest::mouseMove(win, onHot);
    EXPECT_EQ(w.mouseIns("Hot"), 1);
    QTest::mouseMove(win, onHot + QPoint(3, 2));  // moving within it is no new entry
    EXPECT_EQ(w.mouseIns("Hot"), 1);
    QTest::mouseMove(win, onSide);
    EXPECT_EQ(w.mouseIns("Side"), 1);
    QTest::mouseMove(win, onHot);
    EXPECT_EQ(w.mouseIns("Hot"), 2) << "entering again is heard again";
    EXPECT_EQ(w.mouseIns("Catch"), 0);

    // A hidden region hears nothing.
    w.control("Side").hide();
    QTest::mouseMove(win, onSide);
    EXPECT_EQ(w.mouseIns("Side"), 1);
}

TEST(TrayIcon, ShownOnlyWhereTheDesktopHasANotificationArea)
{
    // The offscreen desktop has none: the system's icon refuses, so the
    // frame keeps an ordinary minimised window.
    std::unique_ptr<TrayIcon> system = makeSystemTrayIcon();
    EXPECT_EQ(system->available(), QSystemTrayIcon::isSystemTrayAvailable());
    EXPECT_EQ(system->show(), QSystemTrayIcon::isSystemTrayAvailable());
    EXPECT_EQ(system->isShown(), QSystemTrayIcon::isSystemTrayAvailable());
    system->setTip("Wednesday, 9 December 2026, Week 50");
    EXPECT_EQ(system->tip(), "Wednesday, 9 December 2026, Week 50");
    EXPECT_TRUE(system->hide());

    // Tests put a fake in its place.
    setTrayIconMaker([] { return std::make_unique<FakeTrayIcon>(false); });
    std::unique_ptr<TrayIcon> fake = makeTrayIcon();
    ASSERT_NE(dynamic_cast<FakeTrayIcon*>(fake.get()), nullptr);
    EXPECT_FALSE(fake->show());
    EXPECT_FALSE(fake->isShown());
    setTrayIconMaker({});
    EXPECT_EQ(dynamic_cast<FakeTrayIcon*>(makeTrayIcon().get()), nullptr);
}

TEST(TrayIcon, TheFakeTakesClicksAndMenuChoicesWhileShown)
{
    FakeTrayIcon icon;
    std::vector<TrayIcon::Click> clicks;
    QStringList chosen;
    icon.onClick = [&](TrayIcon::Click c) { clicks.push_back(c); };
    icon.setMenu({{"&Restore", [&] { chosen << "Restore"; }}, {"-", {}}, {"&Close", [&] { chosen << "Close"; }}});
    EXPECT_EQ(icon.menu(), QStringList({"&Restore", "-", "&Close"}));

    icon.click(TrayIcon::Click::Left);  // not shown yet: nobody can click it
    EXPECT_FALSE(icon.choose("&Close"));
    EXPECT_TRUE(clicks.empty());

    ASSERT_TRUE(icon.show());
    icon.click(TrayIcon::Click::DoubleClick);
    EXPECT_TRUE(icon.choose("&Close"));
    EXPECT_FALSE(icon.choose("-"));
    EXPECT_FALSE(icon.choose("&Open"));
    EXPECT_EQ(chosen, QStringList({"Close"}));
    ASSERT_GE(clicks.size(), 2u);
    EXPECT_EQ(clicks[0], TrayIcon::Click::DoubleClick);
    EXPECT_EQ(clicks[1], TrayIcon::Click::Right);

    // A desktop that refuses to take the icon away leaves it shown.
    icon.setRemovalFails(true);
    EXPECT_FALSE(icon.hide());
    EXPECT_TRUE(icon.isShown());
    icon.setRemovalFails(false);
    EXPECT_TRUE(icon.hide());
    EXPECT_FALSE(icon.isShown());
}

} // namespace
} // namespace ven::test
