// The feasts and memorial days: the lists edited in place (the key a
// feast could be lost from, Copy, the day-and-month column), the readings
// forms, the renumbering in one transaction, and the reminder program's
// import files byte for byte.
#include "WindowKit.h"

#include "calendar/FeastDays.h"
#include "calendar/FeastReadingsBr.h"
#include "calendar/FeastReadingsFr.h"
#include "calendar/FeastsBr.h"
#include "calendar/MakeLitImportPr.h"
#include "calendar/MemorialBr.h"
#include "calendar/MindreelMemorials.h"
#include "calendar/SaintReadingsBr.h"
#include "calendar/SaintReadingsFr.h"
#include "calendar/SortFeastsWnd.h"
#include "calendar/SortMemorialsWnd.h"
#include "core/DateHelpers.h"
#include "data/Dictionary.h"
#include "platform/DateTime.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTextEdit>

namespace ven::test {
namespace {

struct Feast {
    int64_t feast, language;
    QString name, readings = {};
};
struct Memorial {
    int64_t day, level;
    QString names, readings = {};
};

void addFeasts(const std::vector<Feast>& feasts)
{
    Context ctx;
    KeyedFile& f = ctx.file(VenLit);
    ASSERT_TRUE(f.open());
    for (const Feast& x : feasts) {
        f.rec().clear();
        f.rec().set(LIT::FEAST, x.feast);
        f.rec().set(LIT::LANGUAGE, x.language);
        f.rec().set(LIT::NAME, x.name);
        f.rec().set(LIT::READINGS, x.readings);
        ASSERT_TRUE(f.add());
    }
}

void addMemorials(const std::vector<Memorial>& days)
{
    Context ctx;
    KeyedFile& f = ctx.file(VenSaint);
    ASSERT_TRUE(f.open());
    for (const Memorial& x : days) {
        f.rec().clear();
        f.rec().set(AST::DAYNO, x.day);
        f.rec().set(AST::LEVEL, x.level);
        f.rec().set(AST::NAMES, x.names);
        f.rec().set(AST::READINGS, x.readings);
        ASSERT_TRUE(f.add());
    }
}

// (feast, language, name, readings) of every feast, in stored order.
std::vector<std::tuple<int64_t, int64_t, QString, QString>> feasts()
{
    std::vector<std::tuple<int64_t, int64_t, QString, QString>> out;
    for (const Record& r : WindowKit::records(VenLit))
        out.emplace_back(r.num(LIT::FEAST), r.num(LIT::LANGUAGE), r.str(LIT::NAME).trimmed(), r.str(LIT::READINGS));
    return out;
}

QByteArray fileBytes(const WindowKit& kit, const QString& name)
{
    QFile f(kit.folder(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// A line as the reminder program reads it: 0xFE between the fields, CR LF at the end.
QByteArray line(const char* yy, const char* mm, const char* dd, const QByteArray& text)
{
    const QByteArray sep("\xFE", 1);
    return "U" + sep + yy + sep + mm + sep + dd + sep + "00" + sep + "00" + sep + text + "\r\n";
}

QWidget* editor() { return QApplication::focusWidget(); }

void typeInCell(WindowKit& kit, const QString& text)
{
    auto* e = qobject_cast<QLineEdit*>(editor());
    ASSERT_TRUE(e);
    e->selectAll();
    QTest::keyClicks(e, text);
    kit.settle();
}

// ------------------------------------------------------------- lists --

TEST(FeastsBr, SortsByFeastThenLanguageAndLocatesByCode)
{
    WindowKit kit;
    addFeasts({{12, 1, "Epiphanie"}, {3, 0, "Third"}, {12, 0, "Epiphany"}, {40, 2, "Fortieth"}});
    kit.start([] { return makeFeastsBr({}); });
    ASSERT_EQ(kit.rows("FeastsBr"), 4);
    const QStringList expected[] = {{"0", "003", "Third"}, {"0", "012", "Epiphany"}, {"1", "012", "Epiphanie"},
                                    {"2", "040", "Fortieth"}};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(kit.cell("FeastsBr", r, c).trimmed(), expected[r][c]) << r << "," << c;
    kit.typeInList("FeastsBr", "40");
    EXPECT_EQ(kit.highlighted("FeastsBr"), 3);
}

TEST(FeastsBr, InsertInPlaceRefusesTheFeastTheKeyWouldLose)
{
    WindowKit kit;
    addFeasts({{5, 0, "Fifth"}});
    kit.start([] { return makeFeastsBr({}); });
    kit.press("FeastsBr", "Insert");
    // Moving between the cells stores nothing and says nothing.
    typeInCell(kit, "0");
    kit.tab("FeastsBr");
    typeInCell(kit, "0");
    kit.tab("FeastsBr");
    EXPECT_TRUE(kit.boxes().empty());
    EXPECT_EQ(feasts().size(), 1u);
    // Enter on the row with feast 0 in language 0 is refused; the row stays as typed.
    typeInCell(kit, "Nothing");
    kit.enter("FeastsBr");
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_EQ(kit.boxes()[0].caption, "Invalid Feast");
    EXPECT_EQ(feasts().size(), 1u);
    ASSERT_EQ(kit.rows("FeastsBr"), 2);
    EXPECT_EQ(kit.cell("FeastsBr", kit.highlighted("FeastsBr"), 2).trimmed(), "Nothing");
    // A code makes the row storable.
    EXPECT_EQ(kit.list("FeastsBr")->currentIndex().column(), 0);
    kit.tab("FeastsBr");
    typeInCell(kit, "7");
    kit.enter("FeastsBr");
    EXPECT_EQ(kit.boxes().size(), 1u);
    const auto all = feasts();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[1], std::make_tuple(int64_t(7), int64_t(0), QString("Nothing"), QString()));
}

// An unfinished new row is never stored: Esc discards it, and a key that is
// taken keeps the typed row until it is corrected or discarded.
TEST(FeastsBr, AnInsertedRowIsStoredOnlyWhenCompleted)
{
    WindowKit kit;
    addFeasts({{5, 0, "Fifth"}});
    kit.start([] { return makeFeastsBr({}); });
    kit.press("FeastsBr", "Insert");
    typeInCell(kit, "1");
    kit.tab("FeastsBr");
    kit.escape("FeastsBr");
    EXPECT_EQ(feasts().size(), 1u);
    EXPECT_EQ(kit.rows("FeastsBr"), 1);

    kit.press("FeastsBr", "Insert");
    typeInCell(kit, "0");
    kit.tab("FeastsBr");
    typeInCell(kit, "5");
    kit.tab("FeastsBr");
    typeInCell(kit, "Twice");
    kit.enter("FeastsBr");
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_EQ(feasts().size(), 1u);
    EXPECT_EQ(kit.rows("FeastsBr"), 2);
    ASSERT_TRUE(qobject_cast<QLineEdit*>(editor()));
    kit.escape("FeastsBr");
    EXPECT_EQ(kit.rows("FeastsBr"), 1);
    ASSERT_EQ(feasts().size(), 1u);
    EXPECT_EQ(std::get<2>(feasts()[0]), "Fifth");
}

TEST(FeastsBr, CopyKeepsTheRowOnceAndAPlainInsertStartsEmpty)
{
    WindowKit kit;
    addFeasts({{9, 0, "Ninth"}});
    kit.start([] { return makeFeastsBr({}); });
    kit.press("FeastsBr", "Copy");
    ASSERT_EQ(kit.rows("FeastsBr"), 2);
    EXPECT_EQ(kit.cell("FeastsBr", 1, 2).trimmed(), "Ninth");
    typeInCell(kit, "1");  // the translation's language
    kit.enter("FeastsBr");
    const auto all = feasts();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[1], std::make_tuple(int64_t(9), int64_t(1), QString("Ninth"), QString()));
    kit.press("FeastsBr", "Insert");
    const int row = kit.highlighted("FeastsBr");
    EXPECT_EQ(kit.cell("FeastsBr", row, 2).trimmed(), "");
    EXPECT_EQ(kit.cell("FeastsBr", row, 1), "000");
}

TEST(MemorialBr, DateColumnAndDayNumberRange)
{
    WindowKit kit;
    addMemorials({{366, 0, "Leap"}, {59, 0, "Feb 28"}, {60, 1, "Mar 1"}, {1, 0, "New Year"}});
    kit.start([] { return makeMemorialBr({}); });
    ASSERT_EQ(kit.rows("MemorialBr"), 4);
    const char* dates[] = {"0101", "2802", "0103", "0101"};
    const char* days[] = {"001", "059", "060", "366"};
    for (int r = 0; r < 4; ++r) {
        EXPECT_EQ(kit.cell("MemorialBr", r, 0), dates[r]);
        EXPECT_EQ(kit.cell("MemorialBr", r, 3), days[r]);
    }
}

// On an empty file Insert opens the first editable cell; a day number out of
// range keeps the typed row with the cursor on it; stored rows take their
// place in the order and Change and Delete come to life.
TEST(MemorialBr, InsertIntoAnEmptyListKeepsARefusedRow)
{
    WindowKit kit;
    kit.start([] { return makeMemorialBr({}); });
    EXPECT_FALSE(kit.window("MemorialBr").control("Change").isEnabled());
    kit.press("MemorialBr", "Insert");
    QTableView* v = kit.list("MemorialBr");
    EXPECT_EQ(v->currentIndex().column(), 1);
    typeInCell(kit, "2");
    kit.tab("MemorialBr");
    typeInCell(kit, "Someone");
    kit.tab("MemorialBr");
    EXPECT_TRUE(kit.boxes().empty());
    typeInCell(kit, "367");
    kit.enter("MemorialBr");
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_EQ(kit.boxes()[0].caption, "Range Error");
    EXPECT_TRUE(WindowKit::records(VenSaint).empty());
    ASSERT_EQ(kit.rows("MemorialBr"), 1);
    EXPECT_EQ(kit.cell("MemorialBr", 0, 2).trimmed(), "Someone");
    EXPECT_EQ(v->currentIndex().column(), 3);
    typeInCell(kit, "40");
    kit.enter("MemorialBr");
    EXPECT_EQ(kit.boxes().size(), 1u);
    ASSERT_EQ(WindowKit::records(VenSaint).size(), 1u);
    EXPECT_TRUE(kit.window("MemorialBr").control("Change").isEnabled());
    EXPECT_TRUE(kit.window("MemorialBr").control("Delete").isEnabled());
    // A later day inserted after it, an earlier one before it.
    for (const char* day : {"30", "50"}) {
        kit.press("MemorialBr", "Insert");
        kit.tab("MemorialBr");
        typeInCell(kit, QString("Day ") + day);
        kit.tab("MemorialBr");
        typeInCell(kit, day);
        kit.enter("MemorialBr");
    }
    ASSERT_EQ(kit.rows("MemorialBr"), 3);
    const char* days[] = {"030", "040", "050"};
    for (int r = 0; r < 3; ++r)
        EXPECT_EQ(kit.cell("MemorialBr", r, 3), days[r]);
    EXPECT_EQ(kit.highlighted("MemorialBr"), 2);
    EXPECT_EQ(WindowKit::records(VenSaint).size(), 3u);
}


// ----------------------------------------------------------- readings --

TEST(ReadingsForms, ServeOnlyChangeAndEditTheMemo)
{
    WindowKit kit;
    addFeasts({{20, 0, "Pentecost", "Acts 2"}});
    struct Refusal {
        uint8_t request;
        const char* text;
    };
    for (const Refusal& r : {Refusal{InsertRecord, "This form cannot be used to insert a record"},
                             Refusal{DeleteRecord, "This form cannot be used to delete a record"}}) {
        for (auto make : {+[] { return makeFeastReadingsFr({}); }, +[] { return makeSaintReadingsFr({}); }}) {
            kit.clearBoxes();
            uint8_t response = 0;
            kit.call(make(), r.request, &response);
            ASSERT_EQ(kit.boxes().size(), 1u);
            EXPECT_EQ(kit.boxes()[0].caption, "Invalid Request");
            EXPECT_EQ(kit.boxes()[0].text, r.text);
            EXPECT_EQ(response, RequestCancelled);
            EXPECT_FALSE(kit.isOpen("FeastReadingsFr") || kit.isOpen("SaintReadingsFr"));
        }
    }
    kit.clearBoxes();
    kit.start([] { return makeFeastReadingsBr({}); });
    kit.enter("FeastReadingsBr");  // Change is the default
    ASSERT_TRUE(kit.isOpen("FeastReadingsFr"));
    // The full 80 characters of the name, padding included, before ")".
    EXPECT_EQ(kit.window("FeastReadingsFr").window().title(), "Readings  (" + QString("Pentecost").leftJustified(80) + ")");
    EXPECT_EQ(kit.text("FeastReadingsFr", "Name"), "Pentecost");
    kit.type("FeastReadingsFr", "ReadingsText", "; Jn 20");
    kit.press("FeastReadingsFr", "OK");
    EXPECT_FALSE(kit.isOpen("FeastReadingsFr"));
    ASSERT_EQ(feasts().size(), 1u);
    EXPECT_TRUE(std::get<3>(feasts()[0]).contains("; Jn 20"));
    EXPECT_TRUE(kit.boxes().empty());
}

TEST(ReadingsForms, MemorialReadingsTitleAndChange)
{
    WindowKit kit;
    addMemorials({{45, 1, "  Cyril and Methodius", "Old"}});
    kit.start([] { return makeSaintReadingsBr({}); });
    EXPECT_EQ(kit.cell("SaintReadingsBr", 0, 0), "045");
    EXPECT_EQ(kit.cell("SaintReadingsBr", 0, 3), "1402");
    kit.press("SaintReadingsBr", "Change");
    ASSERT_TRUE(kit.isOpen("SaintReadingsFr"));
    EXPECT_EQ(kit.window("SaintReadingsFr").window().title(),
              "Change  (" + QString("  Cyril and Methodius").leftJustified(128) + ")");
    kit.replaceText("SaintReadingsFr", "ReadingsText", "Acts 13");
    kit.press("SaintReadingsFr", "OK");
    EXPECT_FALSE(kit.isOpen("SaintReadingsFr"));
    const auto all = WindowKit::records(VenSaint);
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].str(AST::READINGS), "Acts 13");
    EXPECT_EQ(all[0].num(AST::LEVEL), 1);
}

// --------------------------------------------------------- renumbering --

void setNumbers(WindowKit& kit, const QString& window, const std::vector<int>& numbers)
{
    for (int k = 0; k < 10; ++k)
        kit.replaceText(window, QString("New%1").arg(k), QString::number(numbers[size_t(k)]));
}

// Lets the passes' timers run to their ends.
void runPasses(WindowKit& kit)
{
    kit.waitUntil([&] {
        for (const char* pass : {"SortFeastsProc1", "SortFeastsProc2", "SortMemorialsProc1", "SortMemorialsProc2"})
            if (kit.isOpen(pass))
                return false;
        return true;
    }, 120000, 20);
}

TEST(Renumbering, FeastLanguagesAsATableOfBeforeAndAfter)
{
    struct Case {
        const char* what;
        std::vector<int> numbers;
        std::vector<Feast> before;
        std::vector<std::pair<int64_t, int64_t>> after;  // (feast, language) in stored order
    } cases[] = {
        {"swap 0 and 1", {1, 0, 2, 3, 4, 5, 6, 7, 8, 9},
         {{1, 0, "A", "Gen 1"}, {1, 1, "A1"}, {2, 0, "B"}, {3, 1, "C1"}},
         {{1, 1}, {1, 0}, {2, 1}, {3, 0}}},
        {"no change", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, {{1, 0, "A"}, {1, 4, "A4"}}, {{1, 0}, {1, 4}}},
        {"10..19 as 0..9, 20 and above untouched", {9, 8, 7, 6, 5, 4, 3, 2, 1, 0},
         {{1, 12, "A12"}, {2, 25, "B25"}, {3, 0, "C"}},
         {{1, 7}, {2, 25}, {3, 9}}},
    };
    for (const Case& c : cases) {
        WindowKit kit;
        addFeasts(c.before);
        kit.start([] { return makeSortFeastsWnd({}); });
        setNumbers(kit, "SortFeastsWnd", c.numbers);
        kit.press("SortFeastsWnd", "OK");
        EXPECT_EQ(Busy["Renumbering"], 1) << c.what;
        ASSERT_TRUE(kit.isOpen("SortFeastsProc1")) << c.what;
        EXPECT_EQ(kit.window("SortFeastsProc1").window().title(), "Processing Records");
        EXPECT_EQ(kit.text("SortFeastsProc1", "Line1"), "Sorting - First Pass");
        runPasses(kit);
        EXPECT_FALSE(kit.isOpen("SortFeastsWnd")) << c.what;
        EXPECT_EQ(Busy["Renumbering"], 0) << c.what;
        EXPECT_TRUE(kit.boxes().empty()) << c.what;
        const auto all = feasts();
        ASSERT_EQ(all.size(), c.after.size()) << c.what;
        for (size_t i = 0; i < all.size(); ++i) {
            EXPECT_EQ(std::get<0>(all[i]), c.after[i].first) << c.what << " " << i;
            EXPECT_EQ(std::get<1>(all[i]), c.after[i].second) << c.what << " " << i;
            EXPECT_EQ(std::get<2>(all[i]), c.before[i].name) << c.what;
            EXPECT_EQ(std::get<3>(all[i]), c.before[i].readings) << c.what;  // the readings survive
        }
    }
}

TEST(Renumbering, DuplicateNumbersAreRefusedBeforeAnyChange)
{
    WindowKit kit;
    addFeasts({{1, 0, "A"}});
    kit.start([] { return makeSortFeastsWnd({}); });
    setNumbers(kit, "SortFeastsWnd", {0, 1, 5, 3, 4, 5, 6, 7, 8, 9});
    kit.press("SortFeastsWnd", "OK");
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_EQ(kit.boxes()[0].text, "Number Already in Use!");
    EXPECT_EQ(kit.boxes()[0].caption, "Error");
    EXPECT_EQ(kit.window("SortFeastsWnd").window().focusedControl(), "New2");
    EXPECT_FALSE(kit.isOpen("SortFeastsProc1"));
    EXPECT_EQ(Busy["Renumbering"], 0);
    EXPECT_EQ(std::get<1>(feasts()[0]), 0);
}

TEST(Renumbering, ACancelOrACollisionChangesNothing)
{
    const std::vector<Memorial> days = {{10, 0, "A", "R1"}, {11, 0, "B"}, {11, 1, "C"}, {12, 0, "D"}, {13, 2, "E"}};
    {
        // Cancelled part-way through the first pass.
        WindowKit kit;
        addMemorials(days);
        kit.start([] { return makeSortMemorialsWnd({}); });
        setNumbers(kit, "SortMemorialsWnd", {1, 0, 2, 3, 4, 5, 6, 7, 8, 9});
        kit.press("SortMemorialsWnd", "OK");
        ASSERT_TRUE(kit.isOpen("SortMemorialsProc1"));
        kit.wait(10);  // a tick: the first record is raised
        // The window system's close is ignored: only Cancel stops the pass.
        kit.window("SortMemorialsProc1").window().close();
        kit.settle();
        ASSERT_TRUE(kit.isOpen("SortMemorialsProc1"));
        kit.press("SortMemorialsProc1", "Cancel");
        EXPECT_FALSE(kit.isOpen("SortMemorialsProc2"));
        EXPECT_FALSE(kit.isOpen("SortMemorialsWnd"));
        EXPECT_EQ(Busy["Renumbering"], 0);
        const auto all = WindowKit::records(VenSaint);
        ASSERT_EQ(all.size(), days.size());
        for (size_t i = 0; i < days.size(); ++i)
            EXPECT_EQ(all[i].num(AST::LEVEL), days[i].level) << i;
    }
    {
        // Cancelled in the second pass, after the first has raised every record.
        WindowKit kit;
        addMemorials(days);
        kit.start([] { return makeSortMemorialsWnd({}); });
        setNumbers(kit, "SortMemorialsWnd", {1, 0, 2, 3, 4, 5, 6, 7, 8, 9});
        kit.press("SortMemorialsWnd", "OK");
        kit.waitUntil([&] { return kit.isOpen("SortMemorialsProc2"); }, 120000, 20);
        ASSERT_TRUE(kit.isOpen("SortMemorialsProc2"));
        EXPECT_EQ(kit.text("SortMemorialsProc2", "Line1"), "Sorting - Second Pass");
        kit.press("SortMemorialsProc2", "Cancel");
        EXPECT_EQ(Busy["Renumbering"], 0);
        const auto all = WindowKit::records(VenSaint);
        for (size_t i = 0; i < days.size(); ++i)
            EXPECT_EQ(all[i].num(AST::LEVEL), days[i].level) << i;
    }
    {
        // A level 10 already there collides with level 0 of the same day in the first pass.
        WindowKit kit;
        addMemorials({{10, 1, "A"}, {10, 0, "B"}, {10, 10, "C"}});
        kit.start([] { return makeSortMemorialsWnd({}); });
        setNumbers(kit, "SortMemorialsWnd", {1, 0, 2, 3, 4, 5, 6, 7, 8, 9});
        kit.press("SortMemorialsWnd", "OK");
        runPasses(kit);
        ASSERT_EQ(kit.boxes().size(), 1u);
        EXPECT_EQ(kit.boxes()[0].caption, "Record was not updated");
        EXPECT_TRUE(kit.boxes()[0].text.contains("Process:View"));
        EXPECT_FALSE(kit.isOpen("SortMemorialsWnd"));
        EXPECT_EQ(Busy["Renumbering"], 0);
        const auto all = WindowKit::records(VenSaint);
        ASSERT_EQ(all.size(), 3u);
        EXPECT_EQ(all[0].num(AST::LEVEL), 1);
        EXPECT_EQ(all[1].num(AST::LEVEL), 0);
        EXPECT_EQ(all[2].num(AST::LEVEL), 10);
    }
}

// ------------------------------------------------------- import files --

// The church-year day code of a date.
int64_t codeOf(int y, int m, int d) { return ChurchDayNumber(dayNumber(y, m, d)); }

TEST(ImportFiles, FeastFilesByteForByteForEasterInMarchAndInApril)
{
    struct Year {
        int year;
        int easterMonth, easterDay;
        QByteArray easterLine, christmasLine;
    } years[] = {
        {2024, 3, 31, line("24", "03", "31", "Easter Sunday"), line("24", "12", "25", "No\xEBl")},
        {2025, 4, 20, line("25", "04", "20", "Easter Sunday"), line("25", "12", "25", "No\xEBl")},
    };
    for (const Year& y : years) {
        WindowKit kit(QDateTime(QDate(y.year, 6, 1), QTime(9, 0)));
        const int64_t easter = codeOf(y.year, y.easterMonth, y.easterDay);
        const int64_t christmas = codeOf(y.year, 12, 25);
        ASSERT_NE(easter, 0);
        addFeasts({{easter, 0, "Easter Sunday   "}, {christmas, 0, QString::fromUtf8("Noël")},
                   {christmas, 3, QString::fromUtf8("Noël")}, {250, 0, "Never"}, {easter, 12, "Not handled"}});
        const QString year = QString::number(y.year);
        for (int run = 0; run < 2; ++run) {  // a second run writes the same files, not twice the lines
            kit.clearBoxes();
            kit.start([] { return makeMakeLitImportPr({}); });
            ASSERT_EQ(kit.boxes().size(), 1u);
            EXPECT_EQ(kit.boxes()[0].text, "Done!");
            EXPECT_EQ(fileBytes(kit, year + "Lit0.inp"), y.easterLine + y.christmasLine) << y.year;
            EXPECT_EQ(fileBytes(kit, year + "Lit3.inp"), y.christmasLine) << y.year;
            for (int language : {1, 2, 4, 9})
                EXPECT_FALSE(QFile::exists(kit.folder(year + QString("Lit%1.inp").arg(language))));
        }
        EXPECT_EQ(QDir(kit.folder()).entryList({"*.part*"}, QDir::Files).size(), 0);
    }
}

TEST(ImportFiles, FeastCodeZeroIsWrittenForEveryDayWithoutAFeast)
{
    WindowKit kit(QDateTime(QDate(2026, 3, 1), QTime(9, 0)));
    addFeasts({{0, 2, "Weekday"}});
    kit.start([] { return makeMakeLitImportPr({}); });
    int expected = 0;
    for (int32_t d = dayNumber(2026, 1, 1); d <= dayNumber(2026, 12, 31); ++d)
        expected += ChurchDayNumber(d) == 0;
    const QByteArray bytes = fileBytes(kit, "2026Lit2.inp");
    EXPECT_GT(expected, 200);
    EXPECT_EQ(bytes.count("\r\n"), expected);
    EXPECT_TRUE(bytes.startsWith(line("26", "01", "02", "Weekday")) || bytes.startsWith(line("26", "01", "01", "Weekday")));
}

TEST(ImportFiles, AFileThatCannotBeWrittenIsReportedNotDone)
{
    WindowKit kit(QDateTime(QDate(2025, 6, 1), QTime(9, 0)));
    addFeasts({{codeOf(2025, 4, 20), 0, "Easter Sunday"}});
    ASSERT_TRUE(QDir(kit.folder()).mkdir("2025Lit0.inp"));  // a folder stands where the file goes
    kit.start([] { return makeMakeLitImportPr({}); });
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_NE(kit.boxes()[0].text, "Done!");
    EXPECT_TRUE(kit.boxes()[0].text.contains("2025Lit0.inp"));
    EXPECT_TRUE(kit.boxes()[0].text.contains("Write Error"));
    EXPECT_TRUE(QFileInfo(kit.folder("2025Lit0.inp")).isDir());
}

// A name with letters the files' code page lacks is written with "?" for
// them, and the run says which names and letters, once each.
TEST(ImportFiles, LettersTheCodePageLacksAreNamed)
{
    WindowKit kit(QDateTime(QDate(2025, 6, 1), QTime(9, 0)));
    addFeasts({{codeOf(2025, 4, 20), 1, QString::fromUtf8("Wielkanoc Łódź")}, {0, 1, QString::fromUtf8("Dzień")},
               {codeOf(2025, 12, 25), 0, QString::fromUtf8("Noël")}});
    kit.start([] { return makeMakeLitImportPr({}); });
    ASSERT_EQ(kit.boxes().size(), 2u);
    EXPECT_EQ(kit.boxes()[0].caption, "Characters Not Written");
    const QStringList lines = kit.boxes()[0].text.split(QRegularExpression("[|\n]"));
    EXPECT_TRUE(lines.contains(QString::fromUtf8("2025Lit1.inp: \"Wielkanoc Łódź\" (Łź)"))) << qPrintable(kit.boxes()[0].text);
    EXPECT_EQ(lines.filter("Dzie").size(), 1);  // the feast of every day without a code, named once
    EXPECT_FALSE(kit.boxes()[0].text.contains(QString::fromUtf8("Noël")));
    EXPECT_EQ(kit.boxes()[1].text, "Done!");
    EXPECT_TRUE(fileBytes(kit, "2025Lit1.inp").contains(line("25", "04", "20", "Wielkanoc ?\xF3" "d?")));
    EXPECT_TRUE(fileBytes(kit, "2025Lit0.inp").contains(line("25", "12", "25", "No\xEBl")));
}

TEST(ImportFiles, MemorialFilesInALeapAndACommonYear)
{
    const std::vector<Memorial> days = {{55, 0, "Day 55"}, {60, 0, "Day 60"}, {365, 0, "Day 365"}, {366, 0, "Day 366"},
                                        {1, 12, "Level twelve"}, {2, 3, QString::fromUtf8("  Blank first é")}};
    struct Year {
        int year;
        QByteArray level0, level3, level12;
    } years[] = {
        {2024,
         line("24", "02", "25", "Day 55") + line("24", "03", "01", "Day 60") + line("24", "12", "31", "Day 365") +
             line("24", "02", "24", "Day 366"),
         line("24", "01", "02", "  Blank first \xE9"), line("24", "01", "01", "Level twelve")},
        {2025,  // day 366 has no day in a common year
         line("25", "02", "24", "Day 55") + line("25", "03", "01", "Day 60") + line("25", "12", "31", "Day 365"),
         line("25", "01", "02", "  Blank first \xE9"), line("25", "01", "01", "Level twelve")},
    };
    for (const Year& y : years) {
        WindowKit kit(QDateTime(QDate(y.year, 6, 1), QTime(9, 0)));
        addMemorials(days);
        const QString year = QString::number(y.year);
        for (int run = 0; run < 2; ++run) {
            kit.start([] { return makeMindreelMemorials({}); });
            ASSERT_TRUE(kit.isOpen("MindreelMemorials"));
            EXPECT_EQ(kit.window("MindreelMemorials").window().title(), "Processing Records");
            EXPECT_EQ(kit.text("MindreelMemorials", "Line2"), "0% Completed");
            kit.waitUntil([&] { return !kit.isOpen("MindreelMemorials"); }, 120000, 20);
            EXPECT_FALSE(kit.isOpen("MindreelMemorials"));
            EXPECT_TRUE(kit.boxes().empty());
            EXPECT_EQ(fileBytes(kit, year + "Mem0.inp"), y.level0) << y.year;
            EXPECT_EQ(fileBytes(kit, year + "Mem3.inp"), y.level3) << y.year;
            EXPECT_EQ(fileBytes(kit, year + "Mem12.inp"), y.level12) << y.year;
            EXPECT_FALSE(QFile::exists(kit.folder(year + "Mem1.inp")));
        }
    }
}

TEST(ImportFiles, ACancelledOrEmptyMemorialRunKeepsTheLastFiles)
{
    WindowKit kit(QDateTime(QDate(2025, 6, 1), QTime(9, 0)));
    kit.start([] { return makeMindreelMemorials({}); });
    kit.wait(20);
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_EQ(kit.boxes()[0].caption, "No Records");
    kit.clearBoxes();

    addMemorials({{1, 0, "First"}});
    kit.start([] { return makeMindreelMemorials({}); });
    kit.waitUntil([&] { return !kit.isOpen("MindreelMemorials"); }, 120000, 20);
    const QByteArray first = fileBytes(kit, "2025Mem0.inp");
    EXPECT_EQ(first, line("25", "01", "01", "First"));
    addMemorials({{2, 0, "Second"}});
    kit.start([] { return makeMindreelMemorials({}); });
    kit.press("MindreelMemorials", "Cancel");
    EXPECT_EQ(fileBytes(kit, "2025Mem0.inp"), first);
}

} // namespace
} // namespace ven::test
