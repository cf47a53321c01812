// The special-day, anniversary and daylight-saving forms and lists through
// their widgets: new records' values, the layout by kind, the day number
// and line, the person lookup, the checks of OK, and the marks a stored
// daylight-saving change leaves in the calendar.
#include "WindowKit.h"

#include "calendar/BirthdaysBr.h"
#include "calendar/CalendarWnd.h"
#include "calendar/DLS_Br.h"
#include "calendar/SpecialDayRules.h"
#include "calendar/SpecialDaysBr.h"
#include "core/DateHelpers.h"
#include "core/DaylightSaving.h"
#include "core/Globals.h"
#include "core/Procedures.h"
#include "data/Dictionary.h"
#include "platform/DateTime.h"

namespace ven::test {
namespace {

int32_t day(int y, int m, int d) { return dayNumber(y, m, d); }

template <class Fill>
void add(const FileDef& def, Fill fill)
{
    Context ctx;
    KeyedFile& f = ctx.file(def);
    ASSERT_TRUE(f.open());
    f.rec().clear();
    fill(f.rec());
    ASSERT_TRUE(f.add());
}

// ---------------------------------------------------------- special days ---

const QString SB = QStringLiteral("SpecialDaysBr"), SF = QStringLiteral("SpecialDaysFr");

TEST(SpecialDaysFr, StartsOnTheSelectedDayAndShowsTheLimitsByKind)
{
    WindowKit kit;
    SelectedDate = day(2026, 3, 3);
    kit.start([] { return makeSpecialDaysBr(); });
    kit.press(SB, "Insert");
    ASSERT_TRUE(kit.isOpen(SF));
    EXPECT_EQ(kit.window(SF).window().title(), "Adding a Special Day");
    EXPECT_EQ(kit.text(SF, "Date"), "03-03-2026");
    EXPECT_FALSE(kit.control(SF, "Before").isVisible());
    EXPECT_TRUE(kit.control(SF, "After").isVisible());
    kit.choose(SF, "Show", "1");  // "To"
    EXPECT_TRUE(kit.control(SF, "Before").isVisible());
    EXPECT_FALSE(kit.control(SF, "After").isVisible());
    kit.choose(SF, "Show", "3");  // "Both"
    EXPECT_TRUE(kit.control(SF, "Before").isVisible());
    EXPECT_TRUE(kit.control(SF, "After").isVisible());
    // An accepted date names a nameless day.
    kit.replaceText(SF, "Date", "24-12-2025");
    kit.tab(SF);
    EXPECT_EQ(kit.text(SF, "Name"), "24-12-2025");
    kit.replaceText(SF, "Before", "7");
    kit.replaceText(SF, "After", "6");
    kit.tab(SF);
    kit.press(SF, "OK");
    EXPECT_FALSE(kit.isOpen(SF));
    ASSERT_EQ(kit.rows(SB), 1);
    EXPECT_EQ(kit.cell(SB, 0, 0), "24-12-2025");
    EXPECT_EQ(kit.cell(SB, 0, 1), "Both");
    EXPECT_EQ(kit.cell(SB, 0, 3).trimmed(), "7");
    EXPECT_EQ(kit.cell(SB, 0, 4).trimmed(), "6");
}

TEST(SpecialDaysFr, KeepsOneRecordPerDateAndKindAndDeletesAtOnce)
{
    WindowKit kit;
    SelectedDate = day(2026, 12, 25);
    add(VenDays, [](Record& r) {
        r.set(DAY::DATE, day(2026, 12, 25));
        r.set(DAY::SHOW, int(ShowTo));
        r.set(DAY::NAME, "Xmas");
    });
    kit.start([] { return makeSpecialDaysBr(); });
    kit.press(SB, "Insert");
    kit.choose(SF, "Show", "1");
    kit.type(SF, "Name", "Again");
    kit.press(SF, "OK");
    ASSERT_EQ(kit.boxes().size(), 1u);  // the duplicate key
    ASSERT_TRUE(kit.isOpen(SF));
    kit.choose(SF, "Show", "2");
    kit.press(SF, "OK");
    EXPECT_FALSE(kit.isOpen(SF));
    EXPECT_EQ(kit.rows(SB), 2);
    EXPECT_EQ(kit.cell(SB, 0, 1), "To");
    EXPECT_EQ(kit.cell(SB, 1, 1), "From");
    kit.highlight(SB, 0);
    kit.press(SB, "Delete");
    EXPECT_FALSE(kit.isOpen(SF));
    EXPECT_EQ(kit.rows(SB), 1);
    EXPECT_EQ(WindowKit::records(VenDays).size(), 1u);
    EXPECT_EQ(kit.boxes().size(), 1u);
}

// --------------------------------------------------------- anniversaries ---

const QString BB = QStringLiteral("BirthdaysBr"), BF = QStringLiteral("BirthFr");

TEST(NameDayNumber, FixesEachDateOfTheYearToOneNumber)
{
    const std::tuple<int, int, int, int> cases[] = {
        {1960, 2, 24, 366}, {1961, 2, 24, 55}, {1960, 2, 25, 55}, {1960, 2, 29, 59}, {1961, 2, 28, 59},
        {1960, 1, 1, 1},    {1960, 2, 23, 54}, {1960, 3, 1, 60},  {1961, 3, 1, 60},  {1960, 12, 31, 365},
    };
    for (const auto& [y, m, d, n] : cases)
        EXPECT_EQ(NameDayNumber(day(y, m, d)), n) << d << "." << m << "." << y;
}

TEST(BirthFr, FilesTheAnniversaryUnderItsDayNumberAndTheNextFreeLine)
{
    WindowKit kit;
    kit.start([] { return makeBirthdaysBr(); });
    kit.press(BB, "Insert");
    ASSERT_TRUE(kit.isOpen(BF));
    EXPECT_EQ(kit.window(BF).window().title(), "Adding an Anniversary");
    EXPECT_EQ(kit.text(BF, "Date"), "09-12-1996");  // today, thirty years ago
    kit.replaceText(BF, "Date", "24-02-1960");
    kit.tab(BF);
    EXPECT_EQ(kit.text(BF, "Dayno"), "366");
    // OK without a name.
    kit.press(BF, "OK");
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_EQ(kit.boxes()[0].text, "Name Missing!");
    EXPECT_EQ(kit.boxes()[0].caption, "Error!");
    kit.type(BF, "Name", "Leap Lad");
    kit.press(BF, "OK");
    EXPECT_FALSE(kit.isOpen(BF));
    const int64_t firstLine = WindowKit::records(VenBirth).at(0).num(BTH::LINE);

    // A second one on the same day number gets the next line.
    kit.press(BB, "Insert");
    kit.replaceText(BF, "Date", "23-02-1960");
    kit.tab(BF);
    kit.key(BF, (Qt::SHIFT | Qt::Key_Up).toCombined(), "Date");  // 1 March
    kit.key(BF, (Qt::SHIFT | Qt::Key_Down).toCombined(), "Date");  // back to 23 February
    kit.key(BF, Qt::Key_Up, "Date");                                // 24 February
    EXPECT_EQ(kit.text(BF, "Dayno"), "366");
    EXPECT_EQ(kit.text(BF, "Line").toLongLong(), firstLine + 1);
    kit.type(BF, "Name", "Twin");
    kit.press(BF, "OK");
    EXPECT_FALSE(kit.isOpen(BF));
    EXPECT_EQ(kit.rows(BB), 2);
    EXPECT_EQ(kit.cell(BB, 1, 2), "Twin");
    EXPECT_EQ(kit.cell(BB, 1, 0), "366");
}

TEST(BirthFr, RefusesALineInUseAndAMissingDate)
{
    WindowKit kit;
    add(VenBirth, [](Record& r) {
        r.set(BTH::DAYNO, int(NameDayNumber(day(1996, 12, 9))));
        r.set(BTH::LINE, 1);
        r.set(BTH::NAME, "Taken");
        r.set(BTH::DATE, day(1996, 12, 9));
    });
    kit.start([] { return makeBirthdaysBr(); });
    kit.press(BB, "Insert");
    kit.type(BF, "Name", "Late");
    kit.replaceText(BF, "Line", "1");
    kit.press(BF, "OK");
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_EQ(kit.boxes()[0].text, "This Line Already in Use!");
    EXPECT_EQ(kit.window(BF).window().focusedControl(), "Line");
    kit.replaceText(BF, "Line", "2");
    kit.press(BF, "OK");
    EXPECT_FALSE(kit.isOpen(BF));
    EXPECT_EQ(WindowKit::records(VenBirth).size(), 2u);
}

TEST(BirthFr, TakesThePersonFromTheAddressBook)
{
    WindowKit kit;
    add(VenNam, [](Record& r) {
        r.set(NAM::RECNO, 7);
        r.set(NAM::FIRSTNAME, "Ada");
        r.set(NAM::LASTNAME, "Lovelace");
    });
    kit.start([] { return makeBirthdaysBr(); });
    kit.press(BB, "Insert");
    kit.type(BF, "Clino", "7");
    kit.tab(BF);
    EXPECT_EQ(kit.text(BF, "Name"), "Ada Lovelace");
    // A number no one holds leads into the names list (not built here: message 24).
    kit.replaceText(BF, "Clino", "99");
    kit.tab(BF);
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_TRUE(kit.boxes()[0].text.contains("NameBr"));
    EXPECT_TRUE(kit.isOpen(BF));
}

TEST(BirthFr, ANewAnniversaryOnALeapDayStartsOnTheFirstOfMarch)
{
    WindowKit kit(QDateTime(QDate(2024, 2, 29), QTime(9, 0)));
    kit.start([] { return makeBirthdaysBr(); });
    kit.press(BB, "Insert");
    EXPECT_EQ(kit.text(BF, "Date"), "01-03-1994");
    kit.replaceText(BF, "Date", "31-01-1994");
    kit.tab(BF);
    kit.key(BF, (Qt::ALT | Qt::Key_Up).toCombined(), "Date");
    EXPECT_EQ(kit.text(BF, "Date"), "03-03-1994");
}

// ------------------------------------------------------ daylight saving ---

const QString DB = QStringLiteral("DLS_Br"), DF = QStringLiteral("DLS_Fr");

struct Marks {
    std::vector<Record> days;
    std::map<int64_t, QString> notes;
};
Marks marks()
{
    Marks m{WindowKit::records(VenDays), {}};
    for (const Record& r : WindowKit::records(VenNote))
        m.notes[r.num(ANT::DATE)] = r.str(ANT::NOTE);
    return m;
}

void addChange(int32_t date, const char* sign)
{
    add(Ven_DLS, [&](Record& r) {
        r.set(DLS::DATE, date);
        r.set(DLS::TIME, 1080001);
        r.set(DLS::CHANGE, 360001);
        r.set(DLS::PLUSMINUS, sign);
    });
}

TEST(DLS_Fr, StoresAChangeWithItsSpecialDayAndNoteLine)
{
    WindowKit kit(QDateTime(QDate(2026, 5, 4), QTime(10, 0)));
    DlsChanged = 0;
    DlsMissing = 1;
    kit.start([] { return makeDLS_Br(); });
    kit.press(DB, "Insert");
    ASSERT_TRUE(kit.isOpen(DF));
    EXPECT_EQ(kit.window(DF).window().title(), "Adding  DLS");
    EXPECT_EQ(kit.text(DF, "Date"), "04-05-2026");
    EXPECT_EQ(kit.text(DF, "Time"), "03:00");
    EXPECT_EQ(kit.text(DF, "Change").trimmed(), "1.00");
    // Today at 03:00 has passed: the clock would jump at once.
    kit.press(DF, "OK");
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_EQ(kit.boxes()[0].text, "The time of this change has already passed today.");
    EXPECT_TRUE(kit.isOpen(DF));
    kit.key(DF, Qt::Key_Up, "Date");
    // The time steps by half an hour.
    kit.key(DF, Qt::Key_Up, "Time");
    EXPECT_EQ(kit.text(DF, "Time"), "03:30");
    kit.key(DF, Qt::Key_Down, "Time");
    kit.press(DF, "OK");
    EXPECT_FALSE(kit.isOpen(DF));
    EXPECT_EQ(DlsChanged, 1);
    EXPECT_EQ(DlsMissing, 0);
    const Marks m = marks();
    ASSERT_EQ(m.days.size(), 1u);
    EXPECT_EQ(m.days[0].num(DAY::DATE), day(2026, 5, 5));
    EXPECT_EQ(m.days[0].num(DAY::SHOW), ShowBoth);
    EXPECT_EQ(m.days[0].num(DAY::DAYSB), 7);
    EXPECT_EQ(m.days[0].num(DAY::DAYSA), 6);
    EXPECT_EQ(m.days[0].str(DAY::NAME), "DLS Time");
    EXPECT_EQ(m.notes.at(day(2026, 5, 5)), "03.00 DLS Time\r\n");
    ASSERT_EQ(kit.rows(DB), 1);
    EXPECT_EQ(kit.cell(DB, 0, 0), "Tue");
    EXPECT_EQ(kit.cell(DB, 0, 4), "+");

    // A second change on that date is refused and leaves no second mark.
    kit.press(DB, "Insert");
    kit.key(DF, Qt::Key_Up, "Date");
    kit.press(DF, "OK");
    EXPECT_TRUE(kit.isOpen(DF));
    EXPECT_EQ(kit.boxes().size(), 2u);  // the duplicate key, no "Replace?"
    EXPECT_EQ(marks().notes.at(day(2026, 5, 5)), "03.00 DLS Time\r\n");
    kit.press(DF, "Cancel");
    // A delete writes no marks.
    kit.highlight(DB, 0);
    kit.press(DB, "Delete");
    kit.press(DF, "OK");
    EXPECT_TRUE(WindowKit::records(Ven_DLS).empty());
    EXPECT_EQ(marks().notes.at(day(2026, 5, 5)), "03.00 DLS Time\r\n");
    EXPECT_EQ(marks().days.size(), 1u);
}

TEST(DLS_Fr, TheSignFollowsTheDateAndNamesTheSpecialDay)
{
    WindowKit kit(QDateTime(QDate(2026, 5, 4), QTime(10, 0)));
    kit.start([] { return makeDLS_Br(); });
    struct Case {
        const char* date;
        const char* sign;
        const char* name;
    };
    for (const Case& c : {Case{"30-06-2026", "+", "DLS Time"}, Case{"25-10-2026", "-", "STD Time"}}) {
        kit.press(DB, "Insert");
        kit.replaceText(DF, "Date", c.date);
        kit.tab(DF);
        const bool plus = kit.control(DF, "Plus").as<QRadioButton>()->isChecked();
        EXPECT_EQ(plus, QString(c.sign) == "+") << c.date;
        kit.press(DF, "OK");
        EXPECT_FALSE(kit.isOpen(DF));
    }
    const Marks m = marks();
    ASSERT_EQ(m.days.size(), 2u);
    EXPECT_EQ(m.days[0].str(DAY::NAME), "DLS Time");
    EXPECT_EQ(m.days[1].str(DAY::NAME), "STD Time");
    // The user's sign survives OK; editing the stored change keeps it.
    kit.highlight(DB, 1);
    kit.press(DB, "Change");
    EXPECT_TRUE(kit.control(DF, "Minus").as<QRadioButton>()->isChecked());
    kit.choose(DF, "PlusMinus", "+");
    kit.answer(2);  // keep the special day
    kit.press(DF, "OK");
    EXPECT_EQ(WindowKit::records(Ven_DLS).at(1).str(DLS::PLUSMINUS), "+");
    kit.highlight(DB, 1);
    kit.press(DB, "Change");
    EXPECT_TRUE(kit.control(DF, "Plus").as<QRadioButton>()->isChecked());
    kit.press(DF, "Cancel");
}

TEST(DLS_Fr, AsksBeforeReplacingASpecialDayAndMovesAPassedDateToToday)
{
    WindowKit kit(QDateTime(QDate(2026, 10, 20), QTime(1, 0)));
    add(VenDays, [](Record& r) {
        r.set(DAY::DATE, day(2026, 10, 25));
        r.set(DAY::SHOW, int(ShowBoth));
        r.set(DAY::NAME, "Party");
    });
    addChange(day(2026, 10, 25), "-");
    addChange(day(2026, 10, 1), "-");  // passed, not applied yet
    kit.start([] { return makeDLS_Br(); });
    kit.highlight(DB, 1);
    kit.press(DB, "Change");
    ASSERT_TRUE(kit.isOpen(DF));
    kit.answer(2);  // No: the special day stays
    kit.press(DF, "OK");
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_EQ(kit.boxes()[0].text, "25-10-2026 Party\nReplace?");
    EXPECT_EQ(kit.boxes()[0].caption, "Replace?");
    EXPECT_EQ(marks().days.at(0).str(DAY::NAME), "Party");
    EXPECT_EQ(marks().notes.at(day(2026, 10, 25)), "03.00 Party\r\n");
    // The passed change opens on today.
    kit.highlight(DB, 0);
    kit.press(DB, "Change");
    EXPECT_EQ(kit.text(DF, "Date"), "20-10-2026");
    kit.press(DF, "Cancel");
}

} // namespace
} // namespace ven::test
