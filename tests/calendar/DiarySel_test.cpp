// The diary selection through its window: the date window each category
// starts with and gets when chosen, the rules on its dates, and OK running
// the browse over the choice while the selection stays open.
#include "WindowKit.h"

#include "calendar/DiaryGlobals.h"
#include "calendar/DiarySel.h"
#include "core/DateHelpers.h"
#include "core/Procedures.h"
#include "data/Dictionary.h"
#include "platform/DateTime.h"
#include "platform/Picture.h"

namespace ven::test {
namespace {

// The kit's today: Wednesday 9 December 2026.
const int32_t kToday = dayNumber(2026, 12, 9);

class DiarySelTest : public testing::Test {
protected:
    DiarySelTest() { InitDataFiles(); }
    ~DiarySelTest() override
    {
        clearProcedures();
        GCategory = 0;
    }

    void open()
    {
        kit.start([] { return makeDiarySel(); });
        ASSERT_TRUE(kit.isOpen("DiarySel"));
    }
    void close()
    {
        kit.press("DiarySel", "Cancel");
        ASSERT_FALSE(kit.isOpen("DiarySel"));
    }
    // The window's dates as days from today, read from what it shows.
    std::pair<int, int> shownDates()
    {
        const int32_t b = parseDate(kit.text("DiarySel", "BeginDate"), u"D06-B").value_or(0);
        const int32_t e = parseDate(kit.text("DiarySel", "EndDate"), u"D06-B").value_or(0);
        EXPECT_EQ(b, DiaryBeginDate);
        EXPECT_EQ(e, DiaryEndDate);
        EXPECT_EQ(kit.text("DiarySel", "BeginDay"), WeekdayName(b));
        EXPECT_EQ(kit.text("DiarySel", "EndDay"), WeekdayName(e));
        return {b - kToday, e - kToday};
    }

    WindowKit kit;
};

TEST_F(DiarySelTest, OpensWithTheWindowOfTheCurrentCategory)
{
    struct Case {
        uint8_t gcategory;
        const char* chosen;
        std::pair<int, int> dates;
    };
    const Case cases[] = {
        {0, "0", {-7, 0}}, {1, "1", {0, 0}}, {2, "2", {0, 0}}, {3, "3", {0, 31}}, {4, "4", {0, 8}}, {5, "5", {-1, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.gcategory));
        GCategory = c.gcategory;
        DiaryBeginTime = DiaryEndTime = 0;
        open();
        EXPECT_EQ(kit.control("DiarySel", "Category").value().toString(), c.chosen);
        EXPECT_EQ(shownDates(), c.dates);
        EXPECT_EQ(DiaryBeginTime, 1);
        EXPECT_EQ(DiaryEndTime, kLastTime);
        EXPECT_EQ(Running.get("DiarySel"), 1);  // the frame's number, not its own thread's
        close();
    }
}

TEST_F(DiarySelTest, ChoosingACategorySetsItsWindow)
{
    open();
    struct Case {
        const char* category;
        std::pair<int, int> dates;
    };
    // Extra on a Wednesday: this week's Monday to the next one.
    const Case cases[] = {{"4", {-2, 5}}, {"0", {-7, 8}}, {"3", {0, 31}}, {"1", {0, 0}}, {"5", {-1, 1}}, {"2", {0, 0}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.category);
        kit.choose("DiarySel", "Category", c.category);
        EXPECT_EQ(shownDates(), c.dates);
    }
    // On a Sunday this week's Monday is the next day.
    close();
    kit.clock().set(QDateTime(QDate(2026, 12, 13), QTime(10, 0)));
    open();
    kit.choose("DiarySel", "Category", "4");
    EXPECT_EQ(shownDates(), std::make_pair(5, 12));
}

TEST_F(DiarySelTest, DatesStayInsideTheYearsAndTheEndAfterTheBegin)
{
    open();
    // An end before the begin moves to the day after it.
    kit.replaceText("DiarySel", "EndDate", "01-12-2026");
    kit.tab("DiarySel");
    EXPECT_EQ(shownDates(), std::make_pair(-7, -6));
    // A date out of the years 1900 to 2099 is held at their edge.
    kit.replaceText("DiarySel", "BeginDate", "15-03-1850");
    kit.tab("DiarySel");
    EXPECT_EQ(DiaryBeginDate, 36163);
    kit.replaceText("DiarySel", "EndDate", "01-01-2150");
    kit.tab("DiarySel");
    EXPECT_EQ(DiaryEndDate, 109211);
    EXPECT_EQ(kit.text("DiarySel", "EndDate"), "31-12-2099");
    // The date keys step from the shown date and refresh the weekday.
    kit.replaceText("DiarySel", "BeginDate", "09-12-2026");
    kit.tab("DiarySel");
    kit.key("DiarySel", (Qt::SHIFT | Qt::Key_Up).toCombined(), "BeginDate");
    EXPECT_EQ(DiaryBeginDate, kToday + 7);
    EXPECT_EQ(kit.text("DiarySel", "BeginDay"), "Wednesday");
    kit.key("DiarySel", (Qt::ALT | Qt::Key_Down).toCombined(), "BeginDate");
    EXPECT_EQ(DiaryBeginDate, dayNumber(2026, 11, 16));
    EXPECT_EQ(kit.text("DiarySel", "BeginDay"), "Monday");
}

TEST_F(DiarySelTest, OkRunsTheBrowseAndTheSelectionStaysOpen)
{
    open();
    // All: no category for new entries, all events in the browse.
    GCategory = 3;
    kit.choose("DiarySel", "Category", "5");
    kit.press("DiarySel", "OK");
    ASSERT_TRUE(kit.isOpen("DiaryBr"));
    EXPECT_EQ(GCategory, 0);
    EXPECT_EQ(kit.window("DiaryBr").window().title(), "All Events");
    EXPECT_FALSE(kit.control("DiaryBr", "Print").isVisible());
    EXPECT_FALSE(kit.window("DiarySel").window().outer()->isEnabled());  // it waits for the browse
    kit.press("DiaryBr", "Close");
    EXPECT_FALSE(kit.isOpen("DiaryBr"));
    ASSERT_TRUE(kit.isOpen("DiarySel"));
    EXPECT_TRUE(kit.window("DiarySel").window().outer()->isEnabled());

    // Extra over a single day reaches into the next one.
    kit.choose("DiarySel", "Category", "4");
    kit.replaceText("DiarySel", "BeginDate", "09-12-2026");
    kit.tab("DiarySel");
    kit.replaceText("DiarySel", "EndDate", "09-12-2026");
    kit.tab("DiarySel");
    EXPECT_EQ(shownDates(), std::make_pair(0, 0));
    kit.press("DiarySel", "OK");
    ASSERT_TRUE(kit.isOpen("DiaryBr"));
    EXPECT_EQ(GCategory, 4);
    EXPECT_EQ(DiaryEndDate, kToday + 1);
    EXPECT_EQ(kit.window("DiaryBr").window().title(), "Extra");
    kit.press("DiaryBr", "Close");
    EXPECT_EQ(kit.text("DiarySel", "EndDate"), formatDate(kToday + 1, u"D06-B"));
    close();
}

} // namespace
} // namespace ven::test
