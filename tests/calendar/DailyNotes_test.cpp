// The daily notes through their widgets: the day's note form (save, the
// emptied note, delete, a write refused because the note was made
// meanwhile), the register's range and count, and its record form.
#include "WindowKit.h"
#include "LockHolder.h"

#include "calendar/CalendarWnd.h"
#include "calendar/DailyNoteFr.h"
#include "calendar/NotesBr.h"
#include "calendar/NotesFr.h"
#include "calendar/DailyNoteLine.h"
#include "data/Dictionary.h"
#include "platform/DateTime.h"

#include <QClipboard>
#include <QGuiApplication>

namespace ven::test {
namespace {

int32_t day(int y, int m, int d) { return dayNumber(y, m, d); }
const int32_t kToday = day(2026, 12, 9);  // the kit's day

void addNote(int32_t date, const QString& text)
{
    Context ctx;
    KeyedFile& f = ctx.file(VenNote);
    ASSERT_TRUE(f.open());
    f.rec().clear();
    f.rec().set(ANT::DATE, date);
    f.rec().set(ANT::NOTE, text);
    ASSERT_TRUE(f.add());
}

std::map<int64_t, QString> notes()
{
    std::map<int64_t, QString> out;
    for (const Record& r : WindowKit::records(VenNote))
        out[r.num(ANT::DATE)] = r.str(ANT::NOTE);
    return out;
}

const QString F = QStringLiteral("DailyNoteFr");

TEST(DailyNoteFr, SavesChangesAndDeletesTheDaysNote)
{
    WindowKit kit;
    SelectedDate = kToday;
    kit.start([] { return makeDailyNoteFr(); });
    EXPECT_EQ(kit.window(F).window().title(), "Adding a Daily Note");
    EXPECT_FALSE(kit.control(F, "Delete").isVisible());
    EXPECT_EQ(kit.text(F, "Date"), "2026-12-09");
    EXPECT_EQ(kit.text(F, "Weekday"), "Wednesday");
    // An empty new note writes nothing.
    kit.press(F, "Save");
    EXPECT_FALSE(kit.isOpen(F));
    EXPECT_TRUE(notes().empty());

    kit.start([] { return makeDailyNoteFr(); });
    kit.type(F, "Note", "Dentist");
    kit.press(F, "Clipbrd");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "Wednesday 09-12-2026\r\nDentist\r\n");
    kit.press(F, "Save");
    EXPECT_EQ(notes(), (std::map<int64_t, QString>{{kToday, "Dentist"}}));

    // An existing note: changed, then emptied (which deletes it).
    kit.start([] { return makeDailyNoteFr(); });
    EXPECT_EQ(kit.window(F).window().title(), "Changing a Daily Note");
    kit.key(F, (Qt::CTRL | Qt::Key_End).toCombined(), "Note");
    kit.type(F, "Note", " at 9");
    kit.press(F, "Save");
    EXPECT_EQ(notes()[kToday], "Dentist at 9");
    kit.start([] { return makeDailyNoteFr(); });
    kit.key(F, (Qt::CTRL | Qt::Key_A).toCombined(), "Note");
    kit.key(F, Qt::Key_Delete, "Note");
    kit.press(F, "Save");
    EXPECT_TRUE(notes().empty());

    // Delete leaves the text on the clipboard; Cancel drops a change.
    addNote(kToday, "Gone soon");
    kit.start([] { return makeDailyNoteFr(); });
    kit.type(F, "Note", "x");
    kit.press(F, "Cancel");
    EXPECT_EQ(notes()[kToday], "Gone soon");
    kit.start([] { return makeDailyNoteFr(); });
    kit.press(F, "Delete");
    EXPECT_TRUE(notes().empty());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "Wednesday 09-12-2026\r\nGone soon\r\n");
    EXPECT_TRUE(kit.boxes().empty());
}

TEST(DailyNoteFr, KeepsTheTypedNoteWhenTheDaysNoteWasMadeMeanwhile)
{
    WindowKit kit;
    SelectedDate = kToday;
    kit.start([] { return makeDailyNoteFr(); });
    kit.type(F, "Note", "Call Bob");
    // A diary meeting adds its line to the day's note meanwhile.
    {
        Context ctx;
        KeyedFile& f = ctx.file(VenNote);
        ASSERT_TRUE(f.open());
        ASSERT_TRUE(AppendDailyNoteLine(f, kToday, timeValue(9, 30, 0), "Budget"));
    }
    kit.press(F, "Save");
    ASSERT_EQ(kit.boxes().size(), 1u);
    ASSERT_TRUE(kit.isOpen(F));
    EXPECT_EQ(kit.window(F).window().title(), "Changing a Daily Note");
    EXPECT_EQ(kit.text(F, "Note"), "09.30 Budget\nCall Bob");
    kit.press(F, "Save");
    EXPECT_FALSE(kit.isOpen(F));
    EXPECT_EQ(notes()[kToday], "09.30 Budget\r\nCall Bob");
}

// A save refused while nobody else changed the note keeps the text as typed,
// and the next save stores it once.
TEST(DailyNoteFr, AFailedSaveKeepsTheTypedTextAsTyped)
{
    WindowKit kit;
    SelectedDate = kToday;
    addNote(kToday, "A");
    kit.start([] { return makeDailyNoteFr(); });
    kit.key(F, (Qt::CTRL | Qt::Key_End).toCombined(), "Note");
    kit.type(F, "Note", " B");
    {
        FileLockHolder lock(VenNote);
        ASSERT_TRUE(lock.held());
        kit.press(F, "Save");
    }
    ASSERT_EQ(kit.boxes().size(), 1u);
    ASSERT_TRUE(kit.isOpen(F));
    EXPECT_EQ(kit.text(F, "Note"), "A B");
    EXPECT_EQ(notes()[kToday], "A");
    kit.press(F, "Save");
    EXPECT_FALSE(kit.isOpen(F));
    EXPECT_EQ(notes()[kToday], "A B");
}

TEST(DailyNotes, TwoOpenNoteFormsKeepTheFrameFromClosingUntilBothAreClosed)
{
    WindowKit kit;
    SelectedDate = kToday;
    kit.start([] { return makeDailyNoteFr(); });
    kit.start([] { return makeNotesBr(); });
    kit.press("NotesBr", "Insert");
    ASSERT_TRUE(kit.isOpen("NotesFr"));
    EXPECT_TRUE(Busy.get("DailyNote"));
    kit.press(F, "Cancel");
    EXPECT_TRUE(Busy.get("DailyNote"));
    kit.press("NotesFr", "Cancel");
    EXPECT_FALSE(Busy.get("DailyNote"));
}

TEST(NotesBr, ListsAndCountsTheFortnightAroundTheSelectedDay)
{
    WindowKit kit;
    SelectedDate = 0;  // no day calendar opened yet
    for (int d : {1, 2, 9, 16, 17})
        addNote(day(2026, 12, d), QStringLiteral("Note %1").arg(d));
    kit.start([] { return makeNotesBr(); });
    EXPECT_EQ(SelectedDate, kToday);
    EXPECT_EQ(kit.text("NotesBr", "From"), "02-12-2026");
    EXPECT_EQ(kit.text("NotesBr", "To"), "16-12-2026");
    EXPECT_EQ(kit.text("NotesBr", "Count").trimmed(), "3");
    ASSERT_EQ(kit.rows("NotesBr"), 3);
    EXPECT_EQ(kit.cell("NotesBr", 0, 0), "02-12-2026");
    EXPECT_EQ(kit.cell("NotesBr", 0, 1), "Wednesday");
    // A wider range refills the list and the count.
    kit.replaceText("NotesBr", "From", "01-12-2026");
    kit.tab("NotesBr");
    EXPECT_EQ(kit.rows("NotesBr"), 4);
    EXPECT_EQ(kit.text("NotesBr", "Count").trimmed(), "4");
    // Delete: the note's text stays on the clipboard.
    kit.highlight("NotesBr", 0);
    kit.press("NotesBr", "Delete");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "Tuesday 01-12-2026\r\nNote 1");
    kit.press("NotesFr", "OK");
    EXPECT_EQ(kit.rows("NotesBr"), 3);
    EXPECT_EQ(notes().count(day(2026, 12, 1)), 0u);
    EXPECT_EQ(kit.text("NotesBr", "Count").trimmed(), "3");
    // A note added from the list is counted.
    kit.press("NotesBr", "Insert");
    ASSERT_TRUE(kit.isOpen("NotesFr"));
    kit.replaceText("NotesFr", "Date", "10-12-2026");
    kit.tab("NotesFr");
    kit.type("NotesFr", "Note", "Tenth");
    kit.press("NotesFr", "OK");
    ASSERT_FALSE(kit.isOpen("NotesFr"));
    EXPECT_EQ(kit.rows("NotesBr"), 4);
    EXPECT_EQ(kit.text("NotesBr", "Count").trimmed(), "4");
    // The weekday column shows its longest name whole.
    QTableView* v = kit.list("NotesBr");
    EXPECT_GT(v->columnWidth(1), QFontMetrics(v->font()).horizontalAdvance("Wednesday") + 2);
}

TEST(NotesFr, DatesANewNoteAndRefusesADuplicateAndAnEmptyNote)
{
    WindowKit kit;
    SelectedDate = day(2025, 1, 31);
    addNote(SelectedDate, "Existing");
    kit.start([] { return makeNotesBr(); });
    // Copy: the highlighted note's text under the selected date, refused as a duplicate.
    kit.replaceText("NotesBr", "From", "01-01-2025");
    kit.tab("NotesBr");
    kit.highlight("NotesBr", 0);
    kit.press("NotesBr", "Copy");
    ASSERT_TRUE(kit.isOpen("NotesFr"));
    EXPECT_EQ(kit.window("NotesFr").window().title(), "Adding a Daily Note");
    EXPECT_EQ(kit.text("NotesFr", "Note"), "Existing");
    kit.press("NotesFr", "OK");
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_TRUE(kit.isOpen("NotesFr"));
    // Alt+Up on 31 January: 31 February carries into 3 March.
    kit.key("NotesFr", (Qt::ALT | Qt::Key_Up).toCombined(), "Date");
    EXPECT_EQ(kit.text("NotesFr", "Date"), "03-03-2025");
    EXPECT_EQ(kit.text("NotesFr", "Weekday"), "Monday");
    // An empty note is not stored.
    kit.key("NotesFr", (Qt::CTRL | Qt::Key_A).toCombined(), "Note");
    kit.key("NotesFr", Qt::Key_Delete, "Note");
    kit.press("NotesFr", "OK");
    EXPECT_TRUE(kit.isOpen("NotesFr"));
    EXPECT_EQ(kit.boxes().size(), 1u);
    kit.type("NotesFr", "Note", "Spring");
    kit.press("NotesFr", "OK");
    EXPECT_FALSE(kit.isOpen("NotesFr"));
    EXPECT_EQ(notes()[day(2025, 3, 3)], "Spring");
}

} // namespace
} // namespace ven::test
