// The day calendar through its widgets: walking the days across a year end,
// a leap day and an eve of Advent; the special-day rules; anniversaries;
// feasts and memorials with the readings tabs; the summaries; the day file;
// midnight.
#include "WindowKit.h"

#include "calendar/CalendarWnd.h"
#include "calendar/SpecialDayRules.h"
#include "core/DateHelpers.h"
#include "core/Globals.h"
#include "data/Dictionary.h"
#include "platform/DateTime.h"
#include "platform/Ini.h"
#include "platform/Picture.h"
#include "platform/Shell.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QFile>
#include <QGuiApplication>
#include <QPlainTextEdit>

namespace ven::test {
namespace {

int32_t day(int y, int m, int d) { return dayNumber(y, m, d); }
const QString W = QStringLiteral("CalendarWnd");

void addSpecialDay(int32_t date, int show, int before, int after, const QString& name)
{
    Context ctx;
    KeyedFile& f = ctx.file(VenDays);
    ASSERT_TRUE(f.open());
    f.rec().clear();
    f.rec().set(DAY::DATE, date);
    f.rec().set(DAY::SHOW, show);
    f.rec().set(DAY::DAYSB, before);
    f.rec().set(DAY::DAYSA, after);
    f.rec().set(DAY::NAME, name);
    ASSERT_TRUE(f.add());
}

void addAnniversary(int dayNo, int line, const QString& name, int32_t date)
{
    Context ctx;
    KeyedFile& f = ctx.file(VenBirth);
    ASSERT_TRUE(f.open());
    f.rec().clear();
    f.rec().set(BTH::DAYNO, dayNo);
    f.rec().set(BTH::LINE, line);
    f.rec().set(BTH::NAME, name);
    f.rec().set(BTH::DATE, date);
    ASSERT_TRUE(f.add());
}

void addFeast(int code, int language, const QString& name, const QString& readings)
{
    Context ctx;
    KeyedFile& f = ctx.file(VenLit);
    ASSERT_TRUE(f.open());
    f.rec().clear();
    f.rec().set(LIT::FEAST, code);
    f.rec().set(LIT::LANGUAGE, language);
    f.rec().set(LIT::NAME, name);
    f.rec().set(LIT::READINGS, readings);
    ASSERT_TRUE(f.add());
}

void addMemorial(int dayNo, int level, const QString& names, const QString& readings)
{
    Context ctx;
    KeyedFile& f = ctx.file(VenSaint);
    ASSERT_TRUE(f.open());
    f.rec().clear();
    f.rec().set(AST::DAYNO, dayNo);
    f.rec().set(AST::LEVEL, level);
    f.rec().set(AST::NAMES, names);
    f.rec().set(AST::READINGS, readings);
    ASSERT_TRUE(f.add());
}

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

QString readingsOf(const FileDef& def, uint16_t field)
{
    for (const Record& r : WindowKit::records(def))
        if (!r.str(field).isEmpty())
            return r.str(field);
    return {};
}

void rightClick(WindowKit& kit, const QString& proc, const QString& name)
{
    QWidget* w = kit.control(proc, name).widget();
    ASSERT_TRUE(w);
    QContextMenuEvent e(QContextMenuEvent::Mouse, QPoint(3, 3), w->mapToGlobal(QPoint(3, 3)));
    QApplication::sendEvent(w, &e);
    kit.settle();
}

void doubleClick(WindowKit& kit, const QString& proc, const QString& name)
{
    QWidget* w = kit.control(proc, name).widget();
    ASSERT_TRUE(w);
    QMouseEvent e(QEvent::MouseButtonDblClick, QPointF(3, 3), w->mapToGlobal(QPointF(3, 3)), Qt::LeftButton,
                  Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
    kit.settle();
}

QString title(WindowKit& kit) { return kit.window(W).window().title(); }
// A text box's lines (it shows CR LF as one line break).
QString special(WindowKit& kit) { return kit.text(W, "SpecialText").replace('\n', "\r\n"); }

struct Calendar {
    explicit Calendar(const QDateTime& now) : kit(now) {}
    void open()
    {
        kit.start([] { return makeCalendarWnd(); });
        ASSERT_TRUE(kit.isOpen(W));
    }
    WindowKit kit;
};

TEST(CalendarWnd, WalksAYearEndALeapDayAndAnEveOfAdvent)
{
    Calendar c(QDateTime(QDate(2024, 11, 30), QTime(10, 0)));
    addSpecialDay(day(2025, 1, 1), ShowTo, 0, 0, "New Year");
    addAnniversary(366, 0, "Leap Lad", day(2000, 2, 24));
    addAnniversary(NameDayNumber(day(2024, 12, 1)), 0, "Ann", day(1990, 12, 1));
    c.open();
    WindowKit& kit = c.kit;
    // The eve of Advent still belongs to the old church year.
    EXPECT_EQ(title(kit), "Saturday 30 November 2024 Week 48");
    EXPECT_EQ(kit.text(W, "YearLetters"), "Year B II");
    EXPECT_EQ(special(kit), "31 days to New Year");
    kit.press(W, "Next");
    EXPECT_EQ(title(kit), "Sunday 01 December 2024 Week 49");
    EXPECT_EQ(kit.text(W, "YearLetters"), "Year C  I");
    EXPECT_EQ(special(kit), "30 days to New Year\r\nAnn, 34y");
    EXPECT_EQ(SelectedDate, day(2024, 12, 1));
    // A month on (Alt+Up), then across the year end day by day.
    kit.key(W, (Qt::ALT | Qt::Key_Up).toCombined(), "Date");
    EXPECT_EQ(SelectedDate, day(2025, 1, 1));
    EXPECT_EQ(title(kit), "Wednesday 01 January 2025 Week 01");
    EXPECT_EQ(special(kit), " ");
    kit.press(W, "Prev");
    EXPECT_EQ(title(kit), "Tuesday 31 December 2024 Week 01");
    EXPECT_EQ(special(kit), "0 days to New Year");
    EXPECT_EQ(kit.text(W, "YearLetters"), "Year C  I");
    // The leap day, a week (Shift) and a year (Ctrl) away.
    kit.key(W, (Qt::CTRL | Qt::Key_Down).toCombined(), "Date");
    EXPECT_EQ(SelectedDate, day(2023, 12, 31));
    kit.replaceText(W, "Date", "22-02-2024");
    kit.tab(W);
    EXPECT_EQ(SelectedDate, day(2024, 2, 22));
    kit.key(W, (Qt::SHIFT | Qt::Key_Up).toCombined(), "Date");
    EXPECT_EQ(title(kit), "Thursday 29 February 2024 Week 09");
    kit.key(W, (Qt::CTRL | Qt::Key_Up).toCombined(), "Date");
    EXPECT_EQ(SelectedDate, day(2025, 3, 1));  // 29 February carries into March
    // A leap day's anniversary on 24 February of a common year and of a leap year.
    kit.replaceText(W, "Date", "24-02-2025");
    kit.tab(W);
    EXPECT_EQ(special(kit), "Leap Lad, 25y");
    kit.replaceText(W, "Date", "24-02-2024");
    kit.tab(W);
    EXPECT_TRUE(special(kit).endsWith("\r\nLeap Lad, 24y")) << special(kit).toStdString();
    EXPECT_EQ(kit.text(W, "YearLetters"), "Year B II");
}

TEST(SpecialDayRules, CountsToAndFromTheDayWithinTheirLimits)
{
    const int32_t xmas = day(2025, 12, 25);
    Record r(&VenDays);
    auto lines = [&](int show, int before, int after, int32_t on) {
        r.clear();
        r.set(DAY::DATE, xmas);
        r.set(DAY::SHOW, show);
        r.set(DAY::DAYSB, before);
        r.set(DAY::DAYSA, after);
        r.set(DAY::NAME, "Xmas");
        const SpecialDayLines l = specialDayLines(r, on);
        QStringList out;
        if (l.to)
            out << *l.to;
        if (l.of)
            out << *l.of;
        return out.join('|');
    };
    struct Case {
        int show, before, after, day;
        int month = 12;
        const char* expected;
    };
    const Case cases[] = {
        {ShowTo, 0, 0, 20, 12, "4 days to Xmas"},
        {ShowTo, 0, 0, 24, 12, "0 days to Xmas"},
        {ShowTo, 0, 0, 25, 12, ""},
        {ShowFrom, 0, 6, 25, 12, "1st day of Xmas"},
        {ShowFrom, 0, 6, 26, 12, "2nd day of Xmas"},
        {ShowFrom, 0, 6, 28, 12, "4th day of Xmas"},
        {ShowFrom, 0, 6, 30, 12, "6th day of Xmas"},
        {ShowFrom, 0, 6, 31, 12, ""},
        {ShowFrom, 0, 0, 24, 12, ""},
        {ShowBoth, 7, 6, 17, 12, "7 days to Xmas"},
        {ShowBoth, 7, 6, 16, 12, ""},
        {ShowBoth, 7, 6, 24, 12, "0 days to Xmas"},
        {ShowBoth, 7, 6, 25, 12, "1st day of Xmas"},
        {ShowBoth, 7, 6, 30, 12, "6th day of Xmas"},
        {ShowBoth, 7, 6, 31, 12, ""},
        {4, 0, 0, 20, 12, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(lines(c.show, c.before, c.after, day(2025, c.month, c.day)), c.expected)
            << c.show << " on " << c.day;
    // Far from the day: no limit counts on and on, without "#####".
    EXPECT_EQ(lines(ShowFrom, 0, 0, xmas + 999), "1,000th day of Xmas");
    EXPECT_EQ(lines(ShowTo, 0, 0, xmas - 12346), "12,345 days to Xmas");
    const std::pair<int, const char*> suffixes[] = {{1, "st"},   {2, "nd"},   {3, "rd"},   {4, "th"},   {11, "th"},
                                                    {12, "th"},  {13, "th"},  {21, "st"},  {22, "nd"},  {23, "rd"},
                                                    {101, "st"}, {111, "th"}, {112, "th"}, {113, "th"}, {1002, "nd"}};
    for (const auto& [n, s] : suffixes)
        EXPECT_EQ(ordinalSuffix(n), s) << n;
}

TEST(CalendarWnd, ListsAnniversariesAndKeepsEveryLine)
{
    Calendar c(QDateTime(QDate(2025, 5, 10), QTime(10, 0)));
    const int no = NameDayNumber(day(2025, 5, 10));
    addAnniversary(no, 0, "Born Later", day(2030, 5, 10));  // no anniversary yet
    addAnniversary(no, 1, "Mia", day(1985, 5, 10));
    addAnniversary(no, 10, "Line Ten", day(1985, 5, 10));  // beyond the lines shown
    // Many special days before the anniversaries: the text is not cut.
    for (int i = 0; i < 30; ++i)
        addSpecialDay(day(2025, 6, 1) + i, ShowTo, 0, 0, QStringLiteral("Special %1").arg(i));
    c.open();
    const QStringList lines = special(c.kit).split("\r\n");
    ASSERT_EQ(lines.size(), 31);
    EXPECT_EQ(lines.back(), "Mia, 40y");
}

TEST(CalendarWnd, ShowsFeastsMemorialsAndEditsTheShownReadings)
{
    // A Tuesday in July has no church-day code: the feast of code 0 shows.
    Calendar c(QDateTime(QDate(2023, 7, 4), QTime(10, 0)));
    ASSERT_EQ(ChurchDayNumber(day(2023, 7, 4)), 0);
    addFeast(0, 0, "Weekday", "R0");
    addFeast(0, 2, "Arkipaiva", "R2");
    addMemorial(NameDayNumber(day(2023, 7, 4)), 3, "", "Memorial readings");  // readings without a name
    c.open();
    WindowKit& kit = c.kit;
    EXPECT_EQ(kit.text(W, "FeastsText"), "Weekday\nArkipaiva");
    EXPECT_TRUE(kit.control(W, "FeastTab").isVisible());
    EXPECT_TRUE(kit.control(W, "MemorialTab").isVisible());
    kit.choose(W, "Sheet", "3");
    EXPECT_EQ(kit.text(W, "Level").trimmed(), "3");
    EXPECT_EQ(kit.text(W, "MemorialReadings"), "Memorial readings");

    kit.choose(W, "Sheet", "2");
    EXPECT_EQ(kit.text(W, "FeastName"), "Weekday");
    EXPECT_EQ(kit.text(W, "FeastReadings"), "R0");
    // Language 1 has no record: a right click edits nothing.
    kit.key(W, Qt::Key_Up, "Language");
    EXPECT_EQ(kit.text(W, "Language").trimmed(), "1");
    EXPECT_EQ(kit.text(W, "FeastName"), "");
    rightClick(kit, W, "FeastReadings");
    EXPECT_FALSE(kit.control(W, "FeastOK").isVisible());
    // Language 2: edited and saved into its own record.
    kit.key(W, Qt::Key_Up, "Language");
    rightClick(kit, W, "FeastReadings");
    ASSERT_TRUE(kit.control(W, "FeastOK").isVisible());
    kit.key(W, (Qt::CTRL | Qt::Key_End).toCombined(), "FeastReadings");
    kit.type(W, "FeastReadings", " more");
    // A focus gain while editing keeps what is typed.
    kit.window(W).post(Event::GainFocus);
    kit.settle();
    EXPECT_EQ(kit.text(W, "FeastReadings"), "R2 more");
    kit.press(W, "FeastOK");
    EXPECT_FALSE(kit.control(W, "FeastOK").isVisible());
    for (const Record& r : WindowKit::records(VenLit))
        EXPECT_EQ(r.str(LIT::READINGS), r.num(LIT::LANGUAGE) == 2 ? "R2 more" : "R0");
    // Cancel brings the stored text back.
    rightClick(kit, W, "FeastReadings");
    kit.key(W, (Qt::CTRL | Qt::Key_End).toCombined(), "FeastReadings");
    kit.type(W, "FeastReadings", " dropped");
    kit.press(W, "FeastCancel");
    EXPECT_EQ(kit.text(W, "FeastReadings"), "R2 more");
    // A date move while editing asks; No drops the change.
    rightClick(kit, W, "FeastReadings");
    kit.type(W, "FeastReadings", " x");
    kit.answer(2);
    kit.choose(W, "Sheet", "1");
    kit.press(W, "Next");
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_EQ(kit.boxes()[0].text, "The readings were changed. Save them?");
    EXPECT_EQ(SelectedDate, day(2023, 7, 5));
    EXPECT_EQ(readingsOf(VenLit, LIT::READINGS), "R0");
}

TEST(CalendarWnd, HidesBothTabsWithoutFeastOrMemorial)
{
    Calendar c(QDateTime(QDate(2023, 7, 4), QTime(10, 0)));
    c.open();
    EXPECT_FALSE(c.kit.control(W, "FeastTab").isVisible());
    EXPECT_FALSE(c.kit.control(W, "MemorialTab").isVisible());
    EXPECT_EQ(c.kit.text(W, "FeastsText"), " ");
}

TEST(CalendarWnd, CopiesTheSummaryAndOpensTheDayFile)
{
    Calendar c(QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9)));
    WindowKit& kit = c.kit;
    CurrentUser = "Anna";
    writeIni(kit.ini(), "Paths", "Daily_Notes", kit.folder());
    addNote(day(2024, 3, 5), "Dentist  ");
    addSpecialDay(day(2024, 3, 10), ShowTo, 0, 0, "Trip");
    QStringList opened;
    setShellHandler([&] {
        opened << ShellOperation + ":" + ShellFile;
        return kShellDone;
    });
    c.open();
    const QString rule(60, '~');
    doubleClick(kit, W, "NoteText");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "Tuesday, 05-03-2024, Week 10 Year B II\r\n" + rule
                                                         + "\r\nDentist\r\n" + rule + "\r\n4 days to Trip\r\n" + rule
                                                         + "\r\n\r\n" + rule + "\r\n");
    kit.press(W, "Xtra");
    kit.press(W, "Xtra");
    const QString file = kit.folder("2024-03-05 Tuesday.txt");
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened[0], "Open:\"" + file + "\"");
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString head = "Anna Tuesday 2024-03-05 at 14.07.09\r\n" + rule + "\r\n\r\n";
    EXPECT_EQ(QString::fromUtf8(f.readAll()), head + head);
    // Without the year letters, on a day without a note: its own week number.
    EXPECT_TRUE(QGuiApplication::clipboard()->text().startsWith("Tuesday, 05-03-2024, Week 10\r\n" + rule + "\r\nDentist"));
    setShellHandler({});
}

TEST(CalendarWnd, MovesToTheNewDayAtMidnightOnlyWhenShowingToday)
{
    Calendar c(QDateTime(QDate(2024, 3, 5), QTime(23, 59, 58)));
    WindowKit& kit = c.kit;
    c.open();
    kit.wait(4000);
    EXPECT_EQ(SelectedDate, day(2024, 3, 6));
    // After a stall of hours the first tick still moves it on.
    kit.clock().advance(3LL * 24 * 3600 * 1000);
    kit.wait(1000);
    EXPECT_EQ(SelectedDate, day(2024, 3, 9));
    // Left on another day it stays.
    kit.press(W, "Prev");
    kit.clock().advance(24LL * 3600 * 1000);
    kit.wait(2000);
    EXPECT_EQ(SelectedDate, day(2024, 3, 8));
}

TEST(CalendarWnd, HoldsTheDateMovesToTheValidDays)
{
    Calendar c(QDateTime(QDate(2024, 3, 5), QTime(10, 0)));
    WindowKit& kit = c.kit;
    c.open();
    kit.replaceText(W, "Date", "01-01-1801");
    kit.tab(W);
    ASSERT_EQ(SelectedDate, kFirstDay);
    kit.press(W, "Prev");
    EXPECT_EQ(SelectedDate, kFirstDay);
    EXPECT_TRUE(title(kit).startsWith("Thursday 01 January 1801 Week "));
    kit.replaceText(W, "Date", "31-12-2099");
    kit.tab(W);
    kit.press(W, "Next");
    EXPECT_EQ(SelectedDate, day(2099, 12, 31));
}

} // namespace
} // namespace ven::test
