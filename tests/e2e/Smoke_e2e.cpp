// Every command of the frame as a person meets it under a window manager:
// each menu item, toolbar button and hot key opened once with a small data
// set; each window it opens lies on the screen and closes by Esc or its
// close box, and the program runs on; finally File > Exit ends it in order
// with windows still open.
#include "E2eKit.h"
#include "Seeds.h"

#include "core/FrameCommands.h"

#include <gtest/gtest.h>

#include <QJsonDocument>

#include <algorithm>
#include <functional>
#include <set>

using namespace ven;
using namespace ven::e2e;

namespace {

// A window by its procedure, class and title (the frame's title is its clock).
QString windowKey(const QJsonObject& o)
{
    const QString procedure = o.value("procedure").toString();
    return procedure + "|" + o.value("class").toString() + "|" + (procedure == "Main" ? QString() : o.value("title").toString());
}

std::vector<Found> newWindows(const E2eKit& kit, const std::set<QString>& before)
{
    std::vector<Found> v;
    for (const QJsonValue& w : kit.windows())
        if (!before.count(windowKey(w.toObject())) && w.toObject().value("class").toString() != "QMenu")
            v.push_back(Found{w.toObject()});
    return v;
}

// Starts the program with the small data set; the windows shown then.
std::set<QString> startSeeded(E2eKit& kit)
{
    kit.prepareFolder();
    seedSmallDataSet(kit);
    kit.start();
    std::set<QString> keys;
    // The frame grows to its first size as the window manager answers:
    // the walk starts once it is placed.
    if (!kit.waitFor([&] { return bool(kit.frame()); }, "the frame") || !kit.waitWindow("Main"))
        return keys;
    for (const QJsonValue& w : kit.windows())
        keys.insert(windowKey(w.toObject()));
    return keys;
}

// Every window opened since `before` lies on the screen and closes by its
// close box (the newest first, as a person would close them).
void closeNewWindows(E2eKit& kit, const std::set<QString>& before, const QString& what)
{
    const QRect screen = kit.screen();
    for (int round = 0; round < 8; ++round) {
        std::vector<Found> opened = newWindows(kit, before);
        if (opened.empty())
            return;
        const Found w = kit.waitWindow(opened.back().title());  // where it settles
        if (!w)
            continue;  // it closed by itself
        EXPECT_TRUE(screen.contains(w.rect())) << what.toStdString() << ": \"" << w.title().toStdString()
                                               << "\" lies partly outside the screen";
        const QString title = w.title();
        // Esc first, as a person cancels; then the close box where there is one.
        kit.activate(title);
        kit.key(w.json.value("class").toString() == "QMessageBox" ? "Return" : "Escape");
        if (kit.waitFor([&] { return !kit.window(title); }, QString(), 2000, false))
            continue;
        kit.clickCloseBox(title);
        if (!kit.waitGone(title, 5000)) {
            ADD_FAILURE() << what.toStdString() << ": " << QJsonDocument(w.json).toJson(QJsonDocument::Compact).toStdString()
                          << " closes neither by Esc nor by its close box";
            return;
        }
    }
    ADD_FAILURE() << what.toStdString() << ": windows kept opening";
}

// Finally some windows are opened again and left open, and File > Exit
// ends the program in order with them still open.
void exitWithWindowsOpen(E2eKit& kit, const std::set<QString>& base, const std::vector<std::function<void()>>& opens)
{
    for (const auto& open : opens) {
        const size_t before = newWindows(kit, base).size();
        open();
        ASSERT_TRUE(kit.waitFor([&] { return newWindows(kit, base).size() > before; }, "a window to stay open"));
    }
    kit.menu("&File", {"E&xit"});
    kit.expectOrderlyEnd();
}

} // namespace

// Every menu item of one menu of the frame, opened once with a small data
// set: each window it opens lies on the screen and closes by its close
// box; the program runs on, and ends by Exit with the windows of the items
// `kept` open again.
struct MenuWalk {
    const char* menu;
    std::vector<int> kept;
};

void PrintTo(const MenuWalk& w, std::ostream* os)
{
    *os << w.menu;
}

class FrameMenu : public ::testing::TestWithParam<MenuWalk> {};

TEST_P(FrameMenu, EveryItemOpensOnTheScreenAndCloses)
{
    // Items whose subject is not a window of their own: the print set-up
    // dialog of the desktop, the lock (its own test), the end of the
    // session, the frame's hiding and the program's end.
    static const std::set<int> skipped = {-2, -10, -13, -14, -56};
    E2eKit kit;
    const std::set<QString> base = startSeeded(kit);
    ASSERT_TRUE(kit.frame());
    const auto open = [&](const MenuEntry& e) {
        QStringList path;
        if (*e.submenu)
            path << QString::fromLatin1(e.submenu);
        path << QString::fromLatin1(e.text);
        kit.menu(QString::fromLatin1(e.menu), path);
    };
    std::vector<std::function<void()>> kept;
    for (const MenuEntry& e : frameMenu()) {
        if (QString::fromLatin1(e.menu) != QString::fromLatin1(GetParam().menu) || e.number == 0 || skipped.count(e.number))
            continue;
        const QString sub = QString::fromLatin1(e.submenu);
        const QString what = QString::fromLatin1(e.menu) + " > " + (sub.isEmpty() ? QString() : sub + " > ") + e.text;
        SCOPED_TRACE(what.toStdString());
        open(e);
        // A command that starts a procedure shows its window within a few
        // seconds; the quick memo goes to the desktop's editor instead.
        const Command* c = frameCommand(e.number);
        if (c && c->procedure && e.number != -26)
            kit.waitFor([&] { return !newWindows(kit, base).empty(); }, what + " to open its window", 5000);
        else
            kit.waitFor([&] { return kit.windows().size() > 0; }, what);
        closeNewWindows(kit, base, what);
        ASSERT_TRUE(kit.running()) << what.toStdString() << " ended the program";
        const std::vector<int>& keep = GetParam().kept;
        if (std::find(keep.begin(), keep.end(), e.number) != keep.end())
            kept.push_back([&open, e] { open(e); });
    }
    ASSERT_EQ(kept.size(), GetParam().kept.size());
    exitWithWindowsOpen(kit, base, kept);
}

INSTANTIATE_TEST_SUITE_P(Menus, FrameMenu,
                         ::testing::Values(MenuWalk{"&File", {-4, -12}}, MenuWalk{"&Registers", {-18, -28}},
                                           MenuWalk{"&Vendrolix", {-33, -42, -43}}, MenuWalk{"&Help", {-60}}),
                         [](const auto& info) { return QString(info.param.menu).remove('&').toStdString(); });

namespace {

// The frame's commands that are not a window of their own to open and close
// here: the program's end and the close question, the lock, the end of the
// session, and those that iconize the frame (the clocks, the floating
// button), which have tests of their own.
bool ownTest(int number)
{
    static const std::set<int> own = {-63, -75, -77, -80, -81};
    return own.count(number) > 0;
}

// An X key name for a Qt key combination of the hot-key table.
QString xKeyName(int combo)
{
    QStringList parts;
    if (combo & Qt::CTRL)
        parts << "ctrl";
    if (combo & Qt::ALT)
        parts << "alt";
    const int key = combo & ~int(Qt::KeyboardModifierMask);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F35)
        parts << QStringLiteral("F%1").arg(key - Qt::Key_F1 + 1);
    else if (key == Qt::Key_Backslash)
        parts << "backslash";
    else
        parts << QString(QChar(key)).toLower();
    return parts.join('+');
}

} // namespace

// Every toolbar button pressed once by a click: its window opens on the
// screen and closes by its close box; Exit ends the program with the names
// list and the calendar open again.
TEST(FrameToolbar, EveryButtonOpensOnTheScreenAndCloses)
{
    E2eKit kit;
    const std::set<QString> base = startSeeded(kit);
    ASSERT_TRUE(kit.frame());
    // The button is found by its tip, or the text of a text button.
    const auto find = [&](const ToolButton& b) {
        Found button;
        kit.waitFor([&] {
            for (const QJsonValue& c : kit.controls("Main")) {
                const QJsonObject o = c.toObject();
                if (o.value("class").toString() == "QToolButton"
                    && ((*b.tip && o.value("tip").toString() == QString::fromLatin1(b.tip)) || (!*b.tip && o.value("text").toString() == QString::fromLatin1(b.text))))
                    return bool(button = Found{o});
            }
            return false;
        }, QStringLiteral("toolbar button %1 on the toolbar").arg(b.number), 5000);
        return button;
    };
    static const std::set<int> keep = {-69, -71};
    std::vector<std::function<void()>> kept;
    for (const ToolButton& b : frameToolbar()) {
        if (ownTest(b.number))
            continue;
        const QString what = QStringLiteral("toolbar button %1 (%2)").arg(b.number).arg(QString::fromLatin1(*b.tip ? b.tip : b.text));
        SCOPED_TRACE(what.toStdString());
        const Found button = find(b);
        if (!button)
            continue;
        EXPECT_TRUE(kit.frame().rect().contains(button.rect())) << what.toStdString() << " is not in view";
        kit.click(button);
        const Command* c = frameCommand(b.number);
        if (c && c->procedure)
            kit.waitFor([&] { return !newWindows(kit, base).empty(); }, what + " to open its window", 5000);
        closeNewWindows(kit, base, what);
        ASSERT_TRUE(kit.running()) << what.toStdString() << " ended the program";
        if (keep.count(b.number))
            kept.push_back([&kit, &find, b] { kit.click(find(b)); });
    }
    // "Ico", the last button, iconizes the frame: a person brings it back.
    kit.activate("Main");
    ASSERT_TRUE(kit.waitFor([&] { return kit.frame().json.value("active").toBool(); }, "the frame shown and active again"));
    kit.waitWindow("Main");  // and in its place
    ASSERT_EQ(kept.size(), keep.size());
    exitWithWindowsOpen(kit, base, kept);
}

// Every hot key of the frame pressed once in the frame: its window opens on
// the screen and closes by its close box; the ignored keys open nothing.
// Exit ends the program with the names list and the calculator open again.
TEST(FrameHotKeys, EveryKeyOpensOnTheScreenAndCloses)
{
    static const std::set<int> own = {
        Qt::Key_Backslash, Qt::ALT | Qt::Key_F4, Qt::Key_F5, Qt::ALT | Qt::Key_F8, Qt::ALT | Qt::Key_F9, Qt::ALT | Qt::Key_F10,
        Qt::CTRL | Qt::Key_A};
    E2eKit kit;
    const std::set<QString> base = startSeeded(kit);
    ASSERT_TRUE(kit.frame());
    for (const HotKey& h : frameHotKeys()) {
        if (own.count(h.key))
            continue;
        const QString what = "hot key " + xKeyName(h.key);
        SCOPED_TRACE(what.toStdString());
        kit.activate("Main");
        kit.key(xKeyName(h.key));
        if (h.procedure)
            kit.waitFor([&] { return !newWindows(kit, base).empty(); }, what + " to open its window", 5000);
        else
            EXPECT_TRUE(newWindows(kit, base).empty()) << what.toStdString() << " opened a window";
        closeNewWindows(kit, base, what);
        ASSERT_TRUE(kit.running()) << what.toStdString() << " ended the program";
    }
    exitWithWindowsOpen(kit, base, {[&] { kit.activate("Main"), kit.key("F4"); }, [&] { kit.activate("Main"), kit.key("F6"); }});
}
