// Windows as the program regains and passes the activation under a window
// manager: a window inside the frame hears that it is active again when a
// form over it closes, a single-instance window comes forward only when it
// is started again, and what a form has typed survives a message box and
// another application's turn.
#include "E2eKit.h"
#include "Seeds.h"

#include "core/DateHelpers.h"

#include <gtest/gtest.h>

using namespace ven;
using namespace ven::e2e;

namespace {

const QString kOther = QStringLiteral("Another application");

void startPrepared(E2eKit& kit)
{
    kit.start();
    ASSERT_TRUE(kit.waitFor([&] { return bool(kit.frame()); }, "the frame"));
    kit.activate("Main");
}

// Another application takes the activation and Alt+Tab gives it back, as a
// person switches away and back: the window manager activates the other
// application's window, then the program's window that was active before.
void awayAndBack(E2eKit& kit)
{
    const Display& d = kit.display();
    const QString ours = d.run("xdotool", {"getactivewindow"}).trimmed();
    if (d.run("xdotool", {"search", "--name", kOther}).trimmed().isEmpty())
        kit.display().startClient("xmessage", {"-title", kOther, "-geometry", "+1200+1000", "A window of another program"});
    d.run("xdotool", {"search", "--sync", "--name", kOther, "windowactivate", "--sync"});
    kit.waitFor([&] { return kit.activeTitle() == kOther; }, "the other application active");
    kit.waitFor([&] { return !kit.activeWindow(); }, "the program no longer active");
    kit.key("alt+Tab");
    kit.waitFor([&] { return d.run("xdotool", {"getactivewindow"}).trimmed() == ours; }, "Alt+Tab back to the program");
    kit.waitFor([&] { return bool(kit.activeWindow()); }, "the program active again");
}

bool isActive(const E2eKit& kit, const QString& window)
{
    const Found w = kit.window(window);
    return w && w.json.value("active").toBool();
}

} // namespace

// The calendar, active again inside the frame as the day's note form over
// it closes, shows the note just saved, and no longer shows it once the
// form has deleted it.
TEST(Activation, TheCalendarShowsTheNoteSavedOrDeletedInTheFormThatClosed)
{
    E2eKit kit;
    kit.prepareFolder();
    startPrepared(kit);
    kit.key("F3");
    ASSERT_TRUE(kit.waitWindow("CalendarWnd"));
    const auto noteShown = [&] { return kit.control("CalendarWnd", "NoteText").text(); };

    kit.clickControl("CalendarWnd", "Note");
    ASSERT_TRUE(kit.waitWindow("DailyNoteFr"));
    kit.clickControl("DailyNoteFr", "Note");
    kit.type("Collect the new glasses");
    ASSERT_TRUE(kit.waitFor([&] { return kit.control("DailyNoteFr", "Note").text() == "Collect the new glasses"; }, "the note typed"));
    kit.clickControl("DailyNoteFr", "Save");
    ASSERT_TRUE(kit.waitGone("DailyNoteFr"));
    EXPECT_TRUE(kit.waitFor([&] { return isActive(kit, "CalendarWnd"); }, "the calendar active again"));
    EXPECT_TRUE(kit.waitFor([&] { return noteShown().contains("Collect the new glasses"); }, "the saved note in the calendar", 3000))
        << "the calendar shows \"" << noteShown().toStdString() << "\"";

    kit.clickControl("CalendarWnd", "Note");
    ASSERT_TRUE(kit.waitWindow("DailyNoteFr"));
    kit.clickControl("DailyNoteFr", "Delete");
    ASSERT_TRUE(kit.waitGone("DailyNoteFr"));
    EXPECT_TRUE(kit.waitFor([&] { return !noteShown().contains("Collect the new glasses"); }, "the deleted note gone from the calendar", 3000))
        << "the calendar shows \"" << noteShown().toStdString() << "\"";
}

// A single-instance window inside the frame stays behind the window being
// used there when the program regains the activation, and comes forward
// when it is started again.
TEST(Activation, ASingleInstanceWindowComesForwardOnlyWhenStartedAgain)
{
    E2eKit kit;
    kit.prepareFolder();
    seedSmallDataSet(kit);
    startPrepared(kit);
    kit.key("F3");
    ASSERT_TRUE(kit.waitWindow("CalendarWnd"));
    kit.menu("&Registers", {"&Anniversaries"});
    ASSERT_TRUE(kit.waitWindow("BirthdaysBr"));
    ASSERT_TRUE(kit.waitFor([&] { return isActive(kit, "BirthdaysBr"); }, "the anniversaries list active"));

    awayAndBack(kit);
    // The frame's re-activation is handled by now: the anniversaries list
    // is still the active window and the calendar has not come over it.
    kit.waitFor([&] { return isActive(kit, "CalendarWnd"); }, QString(), 1500, false);
    EXPECT_TRUE(isActive(kit, "BirthdaysBr")) << "the anniversaries list lost the activation";
    EXPECT_FALSE(isActive(kit, "CalendarWnd")) << "the calendar came forward by itself";

    kit.key("F3");  // the second start
    EXPECT_TRUE(kit.waitFor([&] { return isActive(kit, "CalendarWnd"); }, "the calendar forward on its second start"));
    int calendars = 0;
    for (const QJsonValue& w : kit.windows())
        calendars += w.toObject().value("procedure").toString() == "CalendarWnd";
    EXPECT_EQ(calendars, 1);
}

// What the anniversary form has typed survives its own message box and
// Alt+Tab to another application and back, while the list that opened it
// refreshes: neither the list's row nor the stored record comes back over
// the typing.
TEST(Activation, TypedValuesSurviveAMessageBoxAndAnotherApplicationsTurn)
{
    E2eKit kit;
    kit.prepareFolder();
    kit.seed([] {
        Context ctx;
        const struct { const char* name; int month, day; } people[] = {{"Aunt Matilda", 3, 5}, {"Uncle Bartholomew", 7, 21}};
        for (const auto& p : people) {
            const int32_t date = dayNumber(1950, p.month, p.day);
            putRecord(ctx, VenBirth, [&](Record& r) {
                r.set(BTH::DATE, date);
                r.set(BTH::NAME, p.name);
                r.set(BTH::DAYNO, int(NameDayNumber(date)));
                r.set(BTH::LINE, 0);
            });
        }
        ctx.closeAll();
    });
    startPrepared(kit);
    kit.menu("&Registers", {"&Anniversaries"});
    ASSERT_TRUE(kit.waitWindow("BirthdaysBr"));
    ASSERT_TRUE(kit.waitFor([&] { return kit.rows("BirthdaysBr", "List").size() == 2; }, "both anniversaries listed"));
    kit.clickControl("BirthdaysBr", "Change");
    ASSERT_TRUE(kit.waitWindow("BirthFr"));
    const QString stored = kit.control("BirthFr", "Name").text();
    ASSERT_FALSE(stored.isEmpty());

    // A changed name survives another application's turn.
    kit.clickControl("BirthFr", "Name");
    kit.key("ctrl+a");
    kit.type("Cousin Theodora");
    ASSERT_TRUE(kit.waitFor([&] { return kit.control("BirthFr", "Name").text() == "Cousin Theodora"; }, "the name typed"));
    awayAndBack(kit);
    kit.waitFor([&] { return kit.control("BirthFr", "Name").text() != "Cousin Theodora"; }, QString(), 1000, false);
    EXPECT_EQ(kit.control("BirthFr", "Name").text(), "Cousin Theodora");

    // An emptied name and a typed line survive "Name Missing!".
    kit.clickControl("BirthFr", "Line");
    kit.key("ctrl+a");
    kit.type("4");
    kit.clickControl("BirthFr", "Name");
    kit.key("ctrl+a");
    kit.key("BackSpace");
    kit.clickControl("BirthFr", "OK");
    ASSERT_TRUE(kit.waitWindow("Error!"));
    EXPECT_TRUE(kit.control("Error!", "Name Missing!"));
    kit.key("Return");
    ASSERT_TRUE(kit.waitGone("Error!"));
    kit.waitFor([&] { return !kit.control("BirthFr", "Name").text().isEmpty(); }, QString(), 1000, false);
    EXPECT_EQ(kit.control("BirthFr", "Name").text(), "") << "the stored name came back";
    EXPECT_EQ(kit.control("BirthFr", "Line").text(), "4");
    EXPECT_EQ(kit.focus().value("control").toString(), "Name");
    EXPECT_EQ(kit.rows("BirthdaysBr", "List").size(), 2) << "a phantom row is listed";
}

// A record deleted from a list inside the frame by its form (which opens no
// window for a delete) leaves the list the active window: the day calendar
// opened before it stays behind.
TEST(Activation, ADeleteInAListInsideTheFrameKeepsTheListInFront)
{
    E2eKit kit;
    kit.prepareFolder();
    kit.seed([] {
        Context ctx;
        for (int d : {24, 25})
            putRecord(ctx, VenDays, [&](Record& r) {
                r.set(DAY::DATE, dayNumber(2026, 12, d));
                r.set(DAY::SHOW, 2);
                r.set(DAY::NAME, QStringLiteral("Day %1").arg(d));
            });
        ctx.closeAll();
    });
    startPrepared(kit);
    kit.key("F3");
    ASSERT_TRUE(kit.waitWindow("CalendarWnd"));
    kit.startProcedure("SpecialDaysBr");
    ASSERT_TRUE(kit.waitWindow("SpecialDaysBr"));
    ASSERT_TRUE(kit.waitFor([&] { return isActive(kit, "SpecialDaysBr"); }, "the special days list active"));
    ASSERT_TRUE(kit.waitFor([&] { return kit.rows("SpecialDaysBr", "List").size() == 2; }, "the special days listed"));
    kit.clickControl("SpecialDaysBr", "Delete");
    ASSERT_TRUE(kit.waitFor([&] { return kit.rows("SpecialDaysBr", "List").size() == 1; }, "the special day deleted"));
    kit.waitFor([&] { return isActive(kit, "CalendarWnd"); }, QString(), 1500, false);
    EXPECT_TRUE(isActive(kit, "SpecialDaysBr")) << "the special days list lost the activation";
    EXPECT_FALSE(isActive(kit, "CalendarWnd")) << "the day calendar came over the list";
}
