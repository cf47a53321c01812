// The diary browse through its window: the filter per category and date
// window, the computed columns, both orders, the form requests with Copy,
// Send Fax, the clipboard text, the reports and the list format.
#include "DiaryKit.h"
#include "LockHolder.h"

#include "calendar/DiaryBr.h"
#include "calendar/DiaryFr.h"
#include "calendar/DiaryGlobals.h"
#include "core/Procedures.h"
#include "data/Dictionary.h"
#include "platform/DateTime.h"
#include "platform/Ini.h"
#include "platform/Numbering.h"
#include "platform/Picture.h"
#include "platform/RecordForm.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QHeaderView>
#include <QScrollBar>

namespace ven::test {
namespace {

void addName(int recno, const QString& last, const QString& first, const QString& org)
{
    Context ctx;
    KeyedFile& f = ctx.file(VenNam);
    ASSERT_TRUE(f.open());
    f.rec().clear();
    f.rec().set(NAM::RECNO, recno);
    f.rec().set(NAM::LASTNAME, last);
    f.rec().set(NAM::FIRSTNAME, first);
    f.rec().set(NAM::ORG, org);
    ASSERT_TRUE(f.add());
}

// The stored entry with that legend; a cleared record when none.
Record storedEntry(const QString& legend)
{
    Context ctx;
    KeyedFile& f = ctx.file(VenDry);
    f.open();
    f.set(DRY::NUMBER_KEY);
    while (f.next())
        if (f.rec().str(DRY::LEGEND) == legend)
            return f.rec();
    f.rec().clear();
    return f.rec();
}

int64_t entryCount()
{
    Context ctx;
    KeyedFile& f = ctx.file(VenDry);
    f.open();
    return f.records();
}

// What the diary form was handed as it opened.
struct FormSeen {
    uint8_t request;
    uint8_t diaryCopy;
    bool copy;
    QString legend;
    int64_t bdate;
};

const WindowDef kStandInDef{
    .title = "Diary",
    .w = 200,
    .h = 60,
    .controls = {
        {.name = "Legend", .kind = Kind::Entry, .x = 4, .y = 4, .w = 180, .h = 12, .picture = "s255", .use = "DRY:LEGEND"},
        {.name = "OK", .kind = Kind::Button, .text = "&OK", .x = 100, .y = 40, .w = 40, .h = 14, .flags = Default},
        {.name = "Cancel", .kind = Kind::Button, .text = "Cancel", .x = 150, .y = 40, .w = 40, .h = 14,
         .closes = RequestCancelled},
    }};

// A small diary form in place of the real one: it records what it was
// handed and, like the real one, clears DiaryCopyRequested as it closes.
class StandInDiaryFr : public RecordForm {
public:
    explicit StandInDiaryFr(std::vector<FormSeen>& seen) : RecordForm("DiaryFr", kStandInDef, VenDry), seen_(seen) {}

protected:
    void primeFields(bool copy) override { copy_ = copy; }
    bool setUp() override
    {
        const bool ok = RecordForm::setUp();
        const Record& r = primary().rec();
        seen_.push_back({REQUEST, DiaryCopyRequested, copy_, r.str(DRY::LEGEND), r.num(DRY::BDATE)});
        return ok;
    }
    bool closeRequested() override
    {
        DiaryCopyRequested = 0;
        return true;
    }

private:
    std::vector<FormSeen>& seen_;
    bool copy_ = false;
};

// A report or fax page that only notes its parameter and opens nothing.
class NotingStub : public WindowController {
public:
    NotingStub() : WindowController("Stub", kDef, ProcedureTraits{}) {}

protected:
    bool setUp() override { return false; }

private:
    static inline const WindowDef kDef{.title = "Stub", .controls = {}};
};

class DiaryBrTest : public testing::Test {
protected:
    DiaryBrTest()
    {
        InitDataFiles();
        defineProcedure("DiaryFr", [this](const QString&) { return std::make_unique<StandInDiaryFr>(seen); });
        for (const char* name : {"FaximileRp", "DiaryPhoRp", "DiaryProRp", "DiaryNotRp", "DiaryMemRp", "DiaryExtRp"})
            defineProcedure(name, [this, name](const QString& p) {
                runs << QString::fromUtf8(name) + "(" + p + ")";
                return std::make_unique<NotingStub>();
            });
    }
    ~DiaryBrTest() override
    {
        clearProcedures();
        DiaryCopyRequested = 0;
        GCategory = 0;
    }

    void open(const DiaryPeriod& p)
    {
        kit.start([p] { return makeDiaryBr(p); });
        ASSERT_TRUE(kit.isOpen("DiaryBr"));
    }
    void closeBrowse()
    {
        kit.press("DiaryBr", "Close");
        ASSERT_FALSE(kit.isOpen("DiaryBr"));
    }
    QStringList column(int col)
    {
        QStringList out;
        for (int r = 0; r < kit.rows("DiaryBr"); ++r)
            out << kit.cell("DiaryBr", r, col);
        return out;
    }
    QStringList legends() { return column(kLegend); }
    void highlightLegend(const QString& legend)
    {
        const int row = legends().indexOf(legend);
        ASSERT_GE(row, 0) << legend.toStdString();
        kit.highlight("DiaryBr", row);
    }
    QString highlightedLegend() { return kit.cell("DiaryBr", kit.highlighted("DiaryBr"), kLegend); }

    static constexpr int kLegend = 6;
    WindowKit kit;
    std::vector<FormSeen> seen;
    QStringList runs;
};

// A whole month of every category.
const DiaryPeriod kDecember{kAllCategories, dec(1), 1, dec(31), kLastTime};

TEST_F(DiaryBrTest, ListsTheEntriesOfTheCategoryInsideTheWindow)
{
    addEntries({
        {3, dec(5), at(0, 0), 0, 0, "j 5th midnight"},
        {3, dec(5), at(9, 59), 0, 0, "a 5th 09:59"},
        {3, dec(5), at(10, 0), 0, 0, "b 5th 10:00"},
        {3, dec(6), at(0, 0), 0, 0, "c 6th midnight"},
        {0, dec(6), at(12, 0), 0, 0, "i phone 6th"},
        {3, dec(7), at(9, 59), 0, 0, "d 7th 09:59"},
        {3, dec(7), at(12, 0), 0, 0, "e 7th 12:00"},
        {3, dec(7), at(12, 0, 1), 0, 0, "f 7th 12:00:01"},
        {3, dec(8), at(0, 0), 0, 0, "h 8th midnight"},
        {3, dec(9), at(9, 0), 0, 0, "l 9th 09:00"},
        {3, dec(9), at(11, 0), 0, 0, "k 9th 11:00"},
    });
    struct Case {
        const char* what;
        DiaryPeriod period;
        QStringList chronological;
        const char* title;
    };
    const Case cases[] = {
        {"10:00 on the 5th to 12:00 on the 7th", {3, dec(5), at(10, 0), dec(7), at(12, 0)},
         {"b 5th 10:00", "c 6th midnight", "d 7th 09:59", "e 7th 12:00"}, "Meetings"},
        {"telephone entries only", {0, dec(5), at(10, 0), dec(7), at(12, 0)}, {"i phone 6th"}, "Telephone Messages & Faxes"},
        {"all categories", {kAllCategories, dec(5), at(10, 0), dec(7), at(12, 0)},
         {"b 5th 10:00", "c 6th midnight", "i phone 6th", "d 7th 09:59", "e 7th 12:00"}, "All Events"},
        // Midnight is stored as no time; it still begins the whole day.
        {"the whole 5th", {3, dec(5), 1, dec(5), kLastTime}, {"j 5th midnight", "a 5th 09:59", "b 5th 10:00"}, "Meetings"},
        {"nothing given: from now to the end of tomorrow", {3, 0, 0, 0, 0}, {"k 9th 11:00"}, "Meetings"},
        {"an end before the begin: to the end time on the next day", {3, dec(7), at(12, 0), dec(5), at(10, 0)},
         {"e 7th 12:00", "f 7th 12:00:01", "h 8th midnight"}, "Meetings"},
        {"a category without entries", {1, dec(1), 1, dec(31), kLastTime}, {}, "Projects"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        open(c.period);
        EXPECT_EQ(legends(), c.chronological);
        EXPECT_EQ(kit.window("DiaryBr").window().title(), c.title);
        EXPECT_EQ(kit.control("DiaryBr", "Print").isVisible(), c.period.LCategory != kAllCategories);
        // The other order lists the same entries by legend.
        kit.choose("DiaryBr", "Sheet", "2");
        QStringList sorted = c.chronological;
        sorted.sort(Qt::CaseInsensitive);
        EXPECT_EQ(legends(), sorted);
        closeBrowse();
    }
}

TEST_F(DiaryBrTest, AlphabeticalOrderLocatesByLegendAndTheChronologicalOrderComesBack)
{
    addEntries({{3, dec(7), at(9, 0), 0, 0, "Zoo"},
                {3, dec(8), at(9, 0), 0, 0, "Dentist"},
                {3, dec(9), at(9, 0), 0, 0, "apples"}});
    open(kDecember);
    EXPECT_EQ(legends(), QStringList({"Zoo", "Dentist", "apples"}));
    kit.choose("DiaryBr", "Sheet", "2");
    EXPECT_EQ(legends(), QStringList({"apples", "Dentist", "Zoo"}));
    kit.typeInList("DiaryBr", "de");
    EXPECT_EQ(highlightedLegend(), "Dentist");
    kit.choose("DiaryBr", "Sheet", "1");
    EXPECT_EQ(legends(), QStringList({"Zoo", "Dentist", "apples"}));
    EXPECT_EQ(highlightedLegend(), "Dentist");
}

TEST_F(DiaryBrTest, ComputedColumns)
{
    addName(7, "Doe", "John", "Acme");
    addName(8, "", "", "Zeta Ltd");
    addEntries({
        {3, dec(5), at(23, 0), dec(6), at(1, 0), "Overnight", "line one\r\nline two", 7, 8, "5", "12"},
        {4, dec(7), at(10, 0), dec(7), at(10, 0, 30), "Short"},
        {2, dec(8), at(9, 15), 0, 0, "Note"},
        {0, dec(8), at(0, 0), 0, 0, "Midnight call", "", 99},
        {1, dec(9), at(8, 0), dec(10), at(9, 0), "Two days"},
    });
    open(kDecember);
    // Beg, in, Time, End, Time, Dur, Legend, C, T, Cat, Caller, Client, Number, Caller#, Memorandum
    const QStringList expected[] = {
        {"Sat", "05.12", "23.00", "06.12", "01.00", " 2.00", "Overnight", "5", "012", "3", "Doe, John, Acme", "Zeta Ltd",
         "000001", "000007", "line one line two"},
        {"Mon", "07.12", "10.00", "", "10.00", " 0.01", "Short", "", "", "4", "", "", "000002", "", ""},
        {"Tue", "08.12", "00.00", "", "", "", "Midnight call", "", "", "", "", "", "000004", "000099", ""},
        {"Tue", "08.12", "09.15", "", "", "", "Note", "", "", "2", "", "", "000003", "", ""},
        {"Wed", "09.12", "08.00", "10.12", "09.00", "25.00", "Two days", "", "", "1", "", "", "000005", "", ""},
    };
    ASSERT_EQ(kit.rows("DiaryBr"), 5);
    for (int r = 0; r < 5; ++r) {
        SCOPED_TRACE(r);
        QStringList row;
        for (int c = 0; c < expected[r].size(); ++c)
            row << kit.cell("DiaryBr", r, c);
        EXPECT_EQ(row, expected[r]);
    }
    QStringList headers;
    QAbstractItemModel* m = kit.list("DiaryBr")->model();
    for (int c = 0; c < m->columnCount(); ++c)
        headers << m->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(headers, QStringList({"Beg", "in", "Time", "End", "Time", "Dur", "Legend", "C", "T", "Cat", "Caller", "Client",
                                    "Number", "Caller#", "Memorandum"}));
}

TEST_F(DiaryBrTest, CopyOpensTheFormOnACopyOfTheHighlightedEntry)
{
    addEntries({{3, dec(6), at(12, 0), dec(6), at(13, 0), "Lunch"}, {3, dec(7), at(14, 0), dec(7), at(15, 0), "Board"}});
    open({3, dec(1), 1, dec(31), kLastTime});
    highlightLegend("Board");
    kit.press("DiaryBr", "Copy");
    ASSERT_TRUE(kit.isOpen("DiaryFr"));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].request, InsertRecord);
    EXPECT_EQ(seen[0].diaryCopy, 1);
    EXPECT_TRUE(seen[0].copy);
    EXPECT_EQ(seen[0].legend, "Board");
    EXPECT_EQ(seen[0].bdate, dec(7));
    EXPECT_EQ(CopyRequested, 0);
    kit.replaceText("DiaryFr", "Legend", "Board again");
    kit.tab("DiaryFr");
    kit.press("DiaryFr", "OK");
    EXPECT_FALSE(kit.isOpen("DiaryFr"));
    EXPECT_EQ(DiaryCopyRequested, 0);
    const Record copy = storedEntry("Board again");
    EXPECT_EQ(copy.num(DRY::NUMBER), 3);  // numbered anew
    EXPECT_EQ(copy.num(DRY::BDATE), dec(7));
    EXPECT_EQ(copy.num(DRY::ETIME), at(15, 0));
    EXPECT_EQ(highlightedLegend(), "Board again");  // the stored entry is highlighted
    EXPECT_EQ(legends(), QStringList({"Lunch", "Board", "Board again"}));

    // The popup menu offers Copy too; a cancelled copy stores nothing.
    highlightLegend("Lunch");
    QMenu* menu = kit.popup("DiaryBr");
    ASSERT_NE(menu, nullptr);
    QAction* copyItem = nullptr;
    for (QAction* a : menu->actions())
        if (a->text() == "C&opy")
            copyItem = a;
    ASSERT_NE(copyItem, nullptr);
    copyItem->trigger();
    kit.settle();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].legend, "Lunch");
    EXPECT_EQ(seen[1].diaryCopy, 1);
    kit.press("DiaryFr", "Cancel");
    EXPECT_EQ(entryCount(), 3);
    EXPECT_EQ(DiaryCopyRequested, 0);

    // A plain insert starts from a new record and is no copy.
    kit.press("DiaryBr", "Insert");
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[2].request, InsertRecord);
    EXPECT_EQ(seen[2].diaryCopy, 0);
    EXPECT_FALSE(seen[2].copy);
    EXPECT_EQ(seen[2].legend, "");
    kit.press("DiaryFr", "Cancel");
}

TEST_F(DiaryBrTest, CopyWithTheRealDiaryFormKeepsTheCopiedMeetingTimes)
{
    defineProcedure("DiaryFr", makeDiaryFr);
    GCategory = 3;  // as the selection leaves it for the meetings browse
    addEntries({{3, dec(7), at(14, 0), dec(7), at(15, 30), "Board"}});
    open({3, dec(1), 1, dec(31), kLastTime});
    kit.press("DiaryBr", "Copy");
    ASSERT_TRUE(kit.isOpen("DiaryFr"));
    EXPECT_EQ(DiaryCopyRequested, 1);
    EXPECT_EQ(kit.text("DiaryFr", "BeginDate"), formatDate(dec(7), u"D06-B"));
    EXPECT_EQ(kit.text("DiaryFr", "EndTime"), formatTime(at(15, 30), u"T01.B"));
    kit.press("DiaryFr", "OK");
    EXPECT_FALSE(kit.isOpen("DiaryFr"));
    EXPECT_EQ(DiaryCopyRequested, 0);
    EXPECT_EQ(entryCount(), 2);
    EXPECT_EQ(legends(), QStringList({"Board", "Board"}));
    // The copy: a number of its own, the copied times.
    Context ctx;
    KeyedFile& f = ctx.file(VenDry);
    ASSERT_TRUE(f.open());
    f.set(DRY::NUMBER_KEY);
    ASSERT_TRUE(f.next());
    EXPECT_EQ(f.rec().num(DRY::NUMBER), 1);
    ASSERT_TRUE(f.next());
    EXPECT_GT(f.rec().num(DRY::NUMBER), 1);
    EXPECT_EQ(f.rec().num(DRY::BDATE), dec(7));
    EXPECT_EQ(f.rec().num(DRY::BTIME), at(14, 0));
    EXPECT_EQ(f.rec().num(DRY::ETIME), at(15, 30));
}

TEST_F(DiaryBrTest, CopyWithoutADiaryFormLeavesNoCopyRequestBehind)
{
    clearProcedures();
    addEntries({{3, dec(7), at(14, 0), dec(7), at(15, 0), "Board"}});
    open({3, dec(1), 1, dec(31), kLastTime});
    kit.press("DiaryBr", "Copy");
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_EQ(kit.boxes()[0].text, "The Procedure DiaryFr has not been defined.");
    EXPECT_EQ(DiaryCopyRequested, 0);
    EXPECT_EQ(CopyRequested, 0);
    EXPECT_EQ(entryCount(), 1);
}

TEST_F(DiaryBrTest, ChangeAndDeleteGoThroughTheForm)
{
    addEntries({{3, dec(6), at(12, 0), dec(6), at(13, 0), "Lunch"}, {3, dec(7), at(14, 0), dec(7), at(15, 0), "Board"}});
    open({3, dec(1), 1, dec(31), kLastTime});
    highlightLegend("Lunch");
    kit.press("DiaryBr", "Change");
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].request, ChangeRecord);
    EXPECT_EQ(seen[0].legend, "Lunch");
    kit.replaceText("DiaryFr", "Legend", "Long lunch");
    kit.tab("DiaryFr");
    kit.press("DiaryFr", "OK");
    EXPECT_EQ(legends(), QStringList({"Long lunch", "Board"}));
    EXPECT_EQ(storedEntry("Long lunch").num(DRY::NUMBER), 1);

    highlightLegend("Board");
    kit.press("DiaryBr", "Delete");
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].request, DeleteRecord);
    EXPECT_EQ(seen[1].legend, "Board");
    kit.press("DiaryFr", "OK");
    EXPECT_EQ(entryCount(), 1);
    EXPECT_EQ(legends(), QStringList({"Long lunch"}));

    highlightLegend("Long lunch");
    kit.press("DiaryBr", "Delete");
    kit.press("DiaryFr", "OK");
    EXPECT_EQ(kit.rows("DiaryBr"), 0);
    for (const char* b : {"Change", "Delete", "Copy"})
        EXPECT_FALSE(kit.control("DiaryBr", b).isEnabled()) << b;
}

TEST_F(DiaryBrTest, SendFaxAndClipboardFollowTheHighlightedCategory)
{
    addEntries({
        {0, dec(7), at(9, 0), 0, 0, "Call complete", "Please send the offer.", 7},
        {0, dec(7), at(10, 0), 0, 0, "Call without memo", "", 7},
        {4, dec(7), at(20, 15), dec(7), at(22, 0), " Film", " Great movie \r\n", 0, 0, " 5", "3"},
    });
    open(kDecember);
    struct Case {
        const char* legend;
        bool fax, clipboard;
    };
    for (const Case& c : {Case{"Call complete", true, false}, Case{"Call without memo", true, false}, Case{" Film", false, true}}) {
        SCOPED_TRACE(c.legend);
        highlightLegend(c.legend);
        EXPECT_EQ(kit.control("DiaryBr", "SendFax").isVisible(), c.fax);
        EXPECT_EQ(kit.control("DiaryBr", "Clipbrd").isVisible(), c.clipboard);
    }

    kit.press("DiaryBr", "Clipbrd");
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              "TV5: 20.15-22.00 Film\r\nGreat movie\r\n" + QString(60, '~') + "\r\n");

    // An entry that lacks its memorandum opens to be completed.
    highlightLegend("Call without memo");
    kit.press("DiaryBr", "SendFax");
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].request, ChangeRecord);
    EXPECT_EQ(seen[0].legend, "Call without memo");
    kit.press("DiaryFr", "Cancel");
    EXPECT_TRUE(runs.isEmpty());

    highlightLegend("Call complete");
    kit.press("DiaryBr", "SendFax");
    EXPECT_EQ(runs, QStringList({"FaximileRp(1)"}));
    EXPECT_EQ(seen.size(), 1u);
}

TEST_F(DiaryBrTest, PrintRunsTheCategoryReportOverTheWindow)
{
    open({4, dec(1), 1, dec(4), kLastTime});
    kit.press("DiaryBr", "Print");
    // An extra browse over several days prints one report over them, from
    // 06:00 of the first day to just before 06:00 of the last.
    EXPECT_EQ(runs, QStringList({QString("DiaryExtRp(1,4,%1,2160001,%2,2160000)").arg(dec(1)).arg(dec(4))}));
    closeBrowse();

    // The alphabetical tab passes order 2.
    runs.clear();
    open({3, dec(1), at(8, 0), dec(4), at(18, 0)});
    kit.choose("DiaryBr", "Sheet", "2");
    kit.press("DiaryBr", "Print");
    EXPECT_EQ(runs, QStringList({QString("DiaryMemRp(2,3,%1,%2,%3,%4)").arg(dec(1)).arg(at(8, 0)).arg(dec(4)).arg(at(18, 0))}));
    closeBrowse();

    // A report that is not there yet says so.
    clearProcedures();
    open({0, dec(1), 1, dec(2), kLastTime});
    kit.press("DiaryBr", "Print");
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_EQ(kit.boxes()[0].text, "The Procedure DiaryPhoRp has not been defined.");
}

TEST_F(DiaryBrTest, ColumnFormatComesFromTheSettingsFileAndGoesBackAtClose)
{
    addEntries({{3, dec(7), at(9, 0), 0, 0, "Dentist"}});
    writeIni(kit.ini(), "DiaryBr", "?Browse:1Format", "7:100,1:16,2:22");
    open(kDecember);
    QTableView* v = kit.list("DiaryBr");
    QHeaderView* h = v->horizontalHeader();
    EXPECT_EQ(h->logicalIndex(0), kLegend);
    EXPECT_EQ(h->logicalIndex(1), 0);

    // The first two columns stay in place when the list scrolls sideways.
    auto* frozen = v->findChild<QTableView*>("FrozenColumns");
    ASSERT_NE(frozen, nullptr);
    v->horizontalScrollBar()->setValue(v->horizontalScrollBar()->maximum());
    kit.settle();
    ASSERT_GT(v->horizontalScrollBar()->value(), 0);
    const QPoint nearLeft(3, 3);
    EXPECT_EQ(frozen->indexAt(nearLeft).column(), kLegend);
    EXPECT_NE(v->indexAt(nearLeft).column(), kLegend);
    EXPECT_EQ(frozen->indexAt(QPoint(h->sectionSize(kLegend) + 3, 3)).column(), 0);

    h->resizeSection(kLegend, h->sectionSize(kLegend) + 60);
    const QString shown = listFormat(v, kit.window("DiaryBr").window().units());
    closeBrowse();
    EXPECT_EQ(readIni(kit.ini(), "DiaryBr", "?Browse:1Format", ""), shown);
    EXPECT_TRUE(shown.startsWith("7:1")) << shown.toStdString();  // the legend wider than 100
    EXPECT_NE(shown.left(5), "7:100");
}

} // namespace
} // namespace ven::test

namespace ven::test {
namespace {

struct DiaryBrLockTest : DiaryBrTest, testing::WithParamInterface<bool> {};

TEST_P(DiaryBrLockTest, ALockHeldByAnotherCopyIsAskedAboutAndNoLeavesNumberingSound)
{
    defineProcedure("DiaryFr", makeDiaryFr);
    GCategory = 2;
    addEntries({{2, dec(7), at(9, 0), dec(7), at(9, 0), "First"}});
    open(kDecember);
    {
        FileLockHolder other(VenDry, GetParam() ? KeyedFile::Mode::Exclusive : KeyedFile::Mode::Shared);
        ASSERT_TRUE(other.held());
        QElapsedTimer t;
        t.start();
        kit.answer(2);  // No
        kit.press("DiaryBr", "Insert");
        EXPECT_LT(t.elapsed(), 4000) << "the GUI thread waited too long";
        ASSERT_FALSE(kit.boxes().empty());
        EXPECT_EQ(kit.boxes().back().caption, "Auto Increment Error");
        EXPECT_FALSE(kit.isOpen("DiaryFr"));
    }
    kit.clearBoxes();
    kit.press("DiaryBr", "Insert");
    ASSERT_TRUE(kit.isOpen("DiaryFr"));
    kit.type("DiaryFr", "Legend", "Second");
    kit.press("DiaryFr", "OK");
    for (const auto& b : kit.boxes())
        ADD_FAILURE() << b.caption.toStdString() << ": " << b.text.toStdString();
    EXPECT_FALSE(kit.isOpen("DiaryFr"));
    EXPECT_EQ(entryCount(), 2);
}

TEST_F(DiaryBrTest, YesToTheLockQuestionTriesAgainOnceTheLockIsGone)
{
    defineProcedure("DiaryFr", makeDiaryFr);
    open(kDecember);
    FileLockHolder other(VenDry);
    ASSERT_TRUE(other.held());
    int asked = 0;
    setMessageBoxHandler([&](const MessageBoxRequest& r) {
        EXPECT_EQ(r.caption, "Auto Increment Error");
        if (++asked == 2)
            other.release();
        return 1;  // Yes
    });
    kit.press("DiaryBr", "Insert");
    EXPECT_EQ(asked, 2);
    EXPECT_TRUE(kit.isOpen("DiaryFr"));
}

TEST_F(DiaryBrTest, ANumberIsNeverGivenWhileTheFileCannotBeRead)
{
    addEntries({{2, dec(7), at(9, 0), dec(7), at(9, 0), "First"}});
    EXPECT_EQ(freeNumber(VenDry, DRY::NUMBER, DRY::NUMBER_KEY, 1), 2);
    {
        FileLockHolder other(VenDry, KeyedFile::Mode::Exclusive);  // another copy keeps the file to itself
        ASSERT_TRUE(other.held());
        EXPECT_EQ(freeNumber(VenDry, DRY::NUMBER, DRY::NUMBER_KEY, 1), 0) << "1 is taken: it must not be given";
    }
    EXPECT_EQ(freeNumber(VenDry, DRY::NUMBER, DRY::NUMBER_KEY, 1), 2);
}

INSTANTIATE_TEST_SUITE_P(WriteOrExclusive, DiaryBrLockTest, testing::Bool());

} // namespace
} // namespace ven::test
