// Project totals: the hours of an entry, and the two runs from the project
// category window over a small diary around a chosen today (a year's and a
// month's end inside the week), run twice alike, cancelled, and over midnight.
#include "WindowKit.h"

#include "app/Procedures.h"
#include "calendar/DiaryGlobals.h"
#include "calendar/ProjCalcProc.h"
#include "calendar/ProjZeroProc.h"
#include "calendar/ProjectSel.h"
#include "calendar/ProjectTotals.h"
#include "core/Procedures.h"
#include "data/Dictionary.h"
#include "platform/DateTime.h"

namespace ven::test {
namespace {

int32_t day(int y, int m, int d) { return dayNumber(y, m, d); }
int32_t at(int h, int m) { return timeValue(h, m, 0); }

struct Entry {
    uint8_t category;
    int32_t project;
    int32_t bdate, btime, edate, etime;
};

Record entryRecord(const Entry& e)
{
    Record r(&VenDry);
    r.set(DRY::CATEGORY, int(e.category));
    r.set(DRY::PROJECT, e.project);
    r.set(DRY::BDATE, e.bdate);
    r.set(DRY::BTIME, e.btime);
    r.set(DRY::EDATE, e.edate);
    r.set(DRY::ETIME, e.etime);
    return r;
}

void addEntries(const std::vector<Entry>& entries)
{
    Context ctx;
    KeyedFile& f = ctx.file(VenDry);
    ASSERT_TRUE(f.open());
    int64_t n = f.records() + 1;
    for (const Entry& e : entries) {
        f.rec() = entryRecord(e);
        f.rec().set(DRY::NUMBER, n++);
        f.rec().set(DRY::CATID, "D");
        ASSERT_TRUE(f.add());
    }
}

void addProject(int64_t number, int64_t category, int32_t stale)
{
    Context ctx;
    KeyedFile& f = ctx.file(VenPro);
    ASSERT_TRUE(f.open());
    Record& r = f.rec();
    r.clear();
    r.set(PRO::NUMBER, number);
    r.set(PRO::CATEGORY, category);
    r.set(PRO::NAME, QStringLiteral("P%1-%2").arg(number).arg(category));
    for (uint16_t t : {PRO::TTIME, PRO::YTIME, PRO::MTIME, PRO::WTIME})
        r.set(t, stale);
    ASSERT_TRUE(f.add());
}

using Hours = std::array<int64_t, 4>;

// Every project's totals by (number, category).
std::map<std::pair<int64_t, int64_t>, Hours> totals()
{
    std::map<std::pair<int64_t, int64_t>, Hours> out;
    for (const Record& r : WindowKit::records(VenPro))
        out[{r.num(PRO::NUMBER), r.num(PRO::CATEGORY)}] = {r.num(PRO::TTIME), r.num(PRO::YTIME), r.num(PRO::MTIME),
                                                           r.num(PRO::WTIME)};
    return out;
}

TEST(ProjectTotals, HoursOfAnEntryRoundTheWholeDuration)
{
    const int32_t d = day(2026, 12, 9);
    struct Case {
        const char* what;
        Entry e;
        int64_t hours;
    };
    const Case cases[] = {
        {"10:00 to 10:29: raised to the minimum", {1, 1, d, at(10, 0), d, at(10, 29)}, 1},
        {"10:00 to 11:29", {1, 1, d, at(10, 0), d, at(11, 29)}, 1},
        {"10:00 to 11:30: a half rounds up", {1, 1, d, at(10, 0), d, at(11, 30)}, 2},
        {"begin and end alike", {1, 1, d, at(10, 0), d, at(10, 0)}, 0},
        {"23:00 to 01:00 the next day", {1, 1, d, at(23, 0), d + 1, at(1, 0)}, 2},
        {"23:30 to 01:00 the next day, as 10:00 to 11:30", {1, 1, d, at(23, 30), d + 1, at(1, 0)}, 2},
        {"23:50 to 00:10 the next day, as 10:00 to 10:20", {1, 1, d, at(23, 50), d + 1, at(0, 10)}, 1},
        {"two whole days", {1, 1, d, at(8, 0), d + 2, at(8, 0)}, 48},
        {"an end before the begin", {1, 1, d, at(12, 0), d, at(10, 0)}, 0},
        {"an end date before the begin date", {1, 1, d, at(10, 0), d - 3, at(12, 0)}, 0},
        {"no end date", {1, 1, d, at(10, 0), 0, at(12, 0)}, 0},
        {"no end time", {1, 1, d, at(10, 0), d + 1, 0}, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(entryHours(entryRecord(c.e)), c.hours) << c.what;
}

class ProjectTotalsRuns : public testing::Test {
protected:
    // Saturday 2 January 2027: the week began on Sunday 27 December 2026.
    ProjectTotalsRuns() : kit(QDateTime(QDate(2027, 1, 2), QTime(15, 0)))
    {
        InitDataFiles();
        DefineProcedures();
        addProject(1, 1, 99);  // stale totals, zeroed by the run
        addProject(1, 3, 0);   // the same number in another category
        addProject(1, 2, 0);   // Notes never count
        addProject(2, 1, 7);   // nothing booked: zeroed
        addProject(0, 1, 5);   // numbered 0: left as it is
        const int32_t sun = day(2026, 12, 27);
        addEntries({
            {1, 1, day(2026, 11, 3), at(9, 0), day(2026, 11, 3), at(12, 0)},   // last year: Tot 3
            {1, 1, sun - 1, at(10, 0), sun - 1, at(11, 30)},                  // Saturday before the week: Tot 2
            {1, 1, sun, at(23, 30), sun + 1, at(1, 0)},                       // this week, last year: Tot, Wk 2
            {1, 1, day(2027, 1, 1), at(10, 0), day(2027, 1, 1), at(10, 29)},  // every total 1
            {1, 1, day(2027, 1, 2), at(23, 50), day(2027, 1, 3), at(0, 10)},  // today, over midnight: 1
            {1, 1, day(2027, 1, 3), at(10, 0), day(2027, 1, 3), at(12, 0)},   // tomorrow: not yet
            {1, 1, day(2027, 1, 1), at(12, 0), day(2027, 1, 1), at(10, 0)},   // end before begin: 0
            {1, 1, day(2027, 1, 1), at(10, 0), 0, 0},                         // no end: 0
            {3, 1, day(2027, 1, 1), at(9, 0), day(2027, 1, 1), at(12, 0)},    // a meeting: 3 in every total
            {2, 1, day(2027, 1, 1), at(9, 0), day(2027, 1, 1), at(12, 0)},    // a note: never
            {0, 1, day(2027, 1, 1), at(9, 0), day(2027, 1, 1), at(12, 0)},    // a call: never
            {4, 1, day(2027, 1, 1), at(9, 0), day(2027, 1, 1), at(12, 0)},    // no extra project 1: skipped
            {1, 0, day(2027, 1, 1), at(9, 0), day(2027, 1, 1), at(12, 0)},    // no project
            {1, 9, day(2027, 1, 1), at(9, 0), day(2027, 1, 1), at(12, 0)},    // a project not there
        });
    }
    ~ProjectTotalsRuns() override
    {
        clearProcedures();
        GCategory = 0;
    }

    void calculate()
    {
        kit.press("ProjectSel", "Calculate");
        EXPECT_TRUE(kit.isOpen("ProjZeroProc"));
        EXPECT_EQ(Busy.get("ProjectTotals"), 1);
        kit.wait(2000);  // the zeroing
        kit.wait(2000);  // the calculation, opened as the zeroing ended
        EXPECT_FALSE(kit.isOpen("ProjZeroProc"));
        EXPECT_FALSE(kit.isOpen("ProjCalcProc"));
        EXPECT_EQ(Busy.get("ProjectTotals"), 0);
    }

    const std::map<std::pair<int64_t, int64_t>, Hours> expected{
        {{1, 1}, {3 + 2 + 2 + 1 + 1, 2, 2, 2 + 1 + 1}},
        {{1, 3}, {3, 3, 3, 3}},
        {{1, 2}, {0, 0, 0, 0}},
        {{2, 1}, {0, 0, 0, 0}},
        {{0, 1}, {5, 5, 5, 5}},
    };
    WindowKit kit;
};

TEST_F(ProjectTotalsRuns, TotalsOfTheDiaryTheSameOnEveryRun)
{
    GCategory = 3;
    kit.start([] { return makeProjectSel({}); });
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        calculate();
        EXPECT_EQ(totals(), expected);
        EXPECT_TRUE(kit.isOpen("ProjectSel"));  // it stays open, the category as it was
        EXPECT_EQ(GCategory, 3);
    }
    EXPECT_TRUE(kit.boxes().empty());
}

TEST_F(ProjectTotalsRuns, ACancelledRunLeavesTheOldTotals)
{
    kit.start([] { return makeProjectSel({}); });
    calculate();
    addEntries({{1, 1, day(2027, 1, 2), at(8, 0), day(2027, 1, 2), at(18, 0)}});

    // Cancelling the zeroing runs no calculation.
    kit.press("ProjectSel", "Calculate");
    kit.press("ProjZeroProc", "Cancel");
    kit.wait(2000);
    kit.wait(2000);
    EXPECT_FALSE(kit.isOpen("ProjCalcProc"));
    EXPECT_EQ(totals(), expected);
    EXPECT_EQ(Busy.get("ProjectTotals"), 0);

    // Cancelling the calculation writes no part of it.
    kit.press("ProjectSel", "Calculate");
    kit.wait(2000);
    ASSERT_TRUE(kit.isOpen("ProjCalcProc"));
    kit.press("ProjCalcProc", "Cancel");
    EXPECT_FALSE(kit.isOpen("ProjCalcProc"));
    EXPECT_EQ(totals(), expected);
    EXPECT_EQ(Busy.get("ProjectTotals"), 0);

    // A whole pair counts the new entry.
    calculate();
    auto now = expected;
    for (int64_t& h : now[{1, 1}])
        h += 10;
    EXPECT_EQ(totals(), now);
}

// A run that passes midnight judges every entry against the day it began on.
TEST_F(ProjectTotalsRuns, ARunOverMidnightKeepsItsDay)
{
    uint8_t response = 0;
    kit.call(makeProjZeroProc({}), NoRequest, &response);
    kit.wait(2000);
    ASSERT_EQ(response, RequestCompleted);
    kit.clock().set(QDateTime(QDate(2027, 1, 2), QTime(23, 59, 59, 995)));
    kit.call(makeProjCalcProc({}), NoRequest, &response);
    kit.wait(2000);
    EXPECT_EQ(response, RequestCompleted);
    EXPECT_EQ(kit.clock().today(), day(2027, 1, 3));
    EXPECT_EQ(totals(), expected);
}

TEST_F(ProjectTotalsRuns, AnEmptyDiaryZeroesEveryTotal)
{
    {
        Context ctx;
        KeyedFile& f = ctx.file(VenDry);
        ASSERT_TRUE(f.open());
        f.set();
        while (f.next())
            ASSERT_TRUE(f.remove());
    }
    kit.start([] { return makeProjectSel({}); });
    calculate();
    auto zero = expected;
    for (auto& [key, h] : zero)
        if (key.first > 0)
            h = {0, 0, 0, 0};
    EXPECT_EQ(totals(), zero);
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_EQ(kit.boxes()[0].text, "There are no records available to process.");
}

} // namespace
} // namespace ven::test
