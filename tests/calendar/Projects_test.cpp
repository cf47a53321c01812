// The project windows: the category window opening the list, the list's
// part tags, blank totals, filter and orders, the form's category and
// number (count, raised past taken ones and past numbers the diary still
// books to), Copy, and selection for the diary form.
#include "WindowKit.h"

#include "app/Procedures.h"
#include "calendar/DiaryGlobals.h"
#include "calendar/DiaryPeriod.h"
#include "calendar/ProjectBr.h"
#include "calendar/ProjectSel.h"
#include "core/Procedures.h"
#include "data/Dictionary.h"
#include "platform/DateTime.h"

#include <QMenu>
#include <QScrollBar>
#include <QTableView>
#include <QRadioButton>

namespace ven::test {
namespace {

struct Project {
    int64_t number, category;
    QString name, note = {};
    int part = 0, total = 0;
    int32_t ttime = 0;
};

void addProjects(const std::vector<Project>& projects)
{
    Context ctx;
    KeyedFile& f = ctx.file(VenPro);
    ASSERT_TRUE(f.open());
    for (const Project& p : projects) {
        Record& r = f.rec();
        r.clear();
        r.set(PRO::NUMBER, p.number);
        r.set(PRO::CATEGORY, p.category);
        r.set(PRO::NAME, p.name);
        r.set(PRO::TRANS, p.note);
        r.set(PRO::PART, p.part);
        r.set(PRO::TOTAL, p.total);
        r.set(PRO::TTIME, p.ttime);
        ASSERT_TRUE(f.add());
    }
}

void bookDiaryEntry(int64_t category, int64_t project)
{
    Context ctx;
    KeyedFile& f = ctx.file(VenDry);
    ASSERT_TRUE(f.open());
    f.rec().clear();
    f.rec().set(DRY::NUMBER, f.records() + 1);
    f.rec().set(DRY::CATEGORY, category);
    f.rec().set(DRY::PROJECT, project);
    f.rec().set(DRY::BDATE, dayNumber(2026, 12, 1));
    ASSERT_TRUE(f.add());
}

Record stored(const QString& name, int64_t category)
{
    for (const Record& r : WindowKit::records(VenPro))
        if (r.str(PRO::NAME) == name && r.num(PRO::CATEGORY) == category)
            return r;
    return Record(&VenPro);
}

class ProjectsTest : public testing::Test {
protected:
    ProjectsTest()
    {
        InitDataFiles();
        DefineProcedures();
    }
    ~ProjectsTest() override
    {
        clearProcedures();
        GCategory = 0;
    }
    QStringList column(int c)
    {
        QStringList out;
        for (int r = 0; r < kit.rows("ProjectBr"); ++r)
            out << kit.cell("ProjectBr", r, c);
        return out;
    }
    void openList(uint8_t category)
    {
        GCategory = category;
        kit.start([] { return makeProjectSel({}); });
        kit.press("ProjectSel", "OK");
        ASSERT_TRUE(kit.isOpen("ProjectBr"));
    }
    // Inserts a project through the form as a person would.
    void insert(const QString& name, bool copy = false)
    {
        kit.press("ProjectBr", copy ? "Copy" : "Insert");
        ASSERT_TRUE(kit.isOpen("ProjectFr"));
        EXPECT_EQ(kit.window("ProjectFr").window().title(), "Adding a Project");
        kit.replaceText("ProjectFr", "Name", name);
        kit.press("ProjectFr", "OK");
        EXPECT_FALSE(kit.isOpen("ProjectFr"));
    }
    WindowKit kit;
};

TEST_F(ProjectsTest, TheCategoryWindowOpensTheListOfTheChosenCategory)
{
    addProjects({{1, 0, "Calls"}, {1, 3, "Board"}, {2, 3, "Staff"}});
    // The diary's "all" shows no category chosen; OK then lists category 0.
    GCategory = kAllCategories;
    kit.start([] { return makeProjectSel({}); });
    for (const char* radio : {"Phone", "Project", "Note", "Meeting", "Extra"})
        EXPECT_FALSE(kit.control("ProjectSel", radio).as<QRadioButton>()->isChecked()) << radio;
    kit.choose("ProjectSel", "Category", "3");
    kit.press("ProjectSel", "OK");
    EXPECT_EQ(GCategory, 3);
    ASSERT_TRUE(kit.isOpen("ProjectBr"));
    EXPECT_EQ(kit.window("ProjectBr").window().title(), "Projects Browse ");
    EXPECT_EQ(column(0), QStringList({"Board", "Staff"}));
    EXPECT_FALSE(kit.control("ProjectBr", "Select").isVisible());
    // Closing the list closes the category window too.
    kit.press("ProjectBr", "Close");
    EXPECT_FALSE(kit.isOpen("ProjectSel"));

    GCategory = kAllCategories;
    kit.start([] { return makeProjectSel({}); });
    kit.press("ProjectSel", "OK");
    EXPECT_EQ(GCategory, 0);
    EXPECT_EQ(column(0), QStringList({"Calls"}));
}

TEST_F(ProjectsTest, RowsShowPartTagsAndBlankTotalsInBothOrders)
{
    addProjects({{1, 1, "Alpha", "Zulu", 1, 5, 12}, {2, 1, "Beta", "Yankee", 3, 0}, {3, 1, "Gamma", "Xray", 0, 4},
                 {4, 1, "Delta", "Whiskey"}});
    openList(1);
    EXPECT_EQ(column(0), QStringList({"Alpha (1/5)", "Beta #3", "Delta", "Gamma (?/4)"}));
    EXPECT_EQ(column(1), QStringList({"Zulu (1/5)", "Yankee #3", "Whiskey", "Xray (?/4)"}));
    EXPECT_EQ(column(4).first().trimmed(), "12");
    EXPECT_EQ(column(4).last().trimmed(), "");  // a total of 0 shows blank
    EXPECT_EQ(column(8).first(), "000001");

    kit.choose("ProjectBr", "Sheet", "2");
    EXPECT_EQ(column(1), QStringList({"Whiskey", "Xray (?/4)", "Yankee #3", "Zulu (1/5)"}));
    kit.type("ProjectBr", "ProNote", "ya");
    kit.enter("ProjectBr");
    EXPECT_EQ(kit.cell("ProjectBr", kit.highlighted("ProjectBr"), 1), "Yankee #3");
    EXPECT_FALSE(kit.isOpen("ProjectFr"));  // the locator's Enter only positions
}

// Enter in a locator positions the list and opens nothing; quick clicks on
// the list's scroll bars only scroll.
TEST_F(ProjectsTest, LocatorEnterAndScrollBarClicksOpenNoForm)
{
    addProjects({{1, 1, "Alpha"}, {2, 1, "Beta"}, {3, 1, "Gamma"}});
    openList(1);
    kit.type("ProjectBr", "ProName", "ga");
    kit.enter("ProjectBr");
    EXPECT_EQ(kit.cell("ProjectBr", kit.highlighted("ProjectBr"), 0), "Gamma");
    EXPECT_FALSE(kit.isOpen("ProjectFr"));
    QTableView* v = kit.list("ProjectBr");
    QScrollBar* bar = v->horizontalScrollBar();
    ASSERT_TRUE(bar->isVisible());
    QTest::mouseDClick(bar, Qt::LeftButton, {}, QPoint(bar->width() - 5, bar->height() / 2));
    kit.settle();
    EXPECT_FALSE(kit.isOpen("ProjectFr"));
    // A double click on a row still opens the form.
    const QRect cell = v->visualRect(v->model()->index(0, 0));
    QTest::mouseDClick(v->viewport(), Qt::LeftButton, {}, cell.center());
    kit.settle();
    EXPECT_TRUE(kit.isOpen("ProjectFr"));
}

TEST_F(ProjectsTest, ANewProjectTakesTheCategoryAndAFreeNumber)
{
    // The first project of an empty file is number 1.
    openList(1);
    insert("First");
    EXPECT_EQ(stored("First", 1).num(PRO::NUMBER), 1);
    kit.press("ProjectBr", "Close");

    // The count of the whole file, raised while the category holds it:
    // 4 records with the new one, 4 taken in category 3, so 5; the same
    // number stands in other categories.
    addProjects({{4, 3, "Four"}, {2, 1, "Two"}});
    openList(3);
    insert("Next");
    EXPECT_EQ(stored("Next", 3).num(PRO::NUMBER), 5);
    EXPECT_EQ(stored("Next", 3).num(PRO::CATEGORY), 3);

    // A number the diary still books hours to (a deleted project's) is not given again.
    bookDiaryEntry(3, 6);
    bookDiaryEntry(1, 7);  // another category's booking does not hold it
    insert("Later");
    EXPECT_EQ(stored("Later", 3).num(PRO::NUMBER), 7);
    EXPECT_TRUE(kit.boxes().empty());
}

TEST_F(ProjectsTest, CopyKeepsTheFieldsUnderANewNumber)
{
    addProjects({{1, 4, "Show", "Evening", 2, 6, 40}});
    openList(4);
    kit.highlight("ProjectBr", 0);
    insert("Show again", true);
    const Record copy = stored("Show again", 4);
    EXPECT_EQ(copy.num(PRO::NUMBER), 2);
    EXPECT_EQ(copy.str(PRO::TRANS).trimmed(), "Evening");
    EXPECT_EQ(copy.num(PRO::PART), 2);
    EXPECT_EQ(copy.num(PRO::TOTAL), 6);
    EXPECT_EQ(copy.num(PRO::TTIME), 40);  // until the next totals run
    EXPECT_EQ(CopyRequested, 0);
    EXPECT_EQ(kit.rows("ProjectBr"), 2);
    // The popup menu copies too.
    QMenu* menu = kit.popup("ProjectBr");
    ASSERT_NE(menu, nullptr);
    QStringList items;
    for (QAction* a : menu->actions())
        items << a->text();
    EXPECT_TRUE(items.contains("C&opy")) << items.join('|').toStdString();
    menu->close();
}

TEST_F(ProjectsTest, TheDiaryFormSelectsAProjectOfItsCategory)
{
    addProjects({{1, 1, "Garden"}, {2, 1, "House"}, {1, 3, "Board"}});
    GCategory = 1;
    uint8_t response = 0;
    kit.call(makeProjectBr({}), SelectRecord, &response);
    ASSERT_TRUE(kit.isOpen("ProjectBr"));
    EXPECT_TRUE(kit.control("ProjectBr", "Select").isVisible());
    EXPECT_EQ(column(0), QStringList({"Garden", "House"}));
    kit.highlight("ProjectBr", 1);
    kit.press("ProjectBr", "Select");
    EXPECT_EQ(response, RequestCompleted);
    EXPECT_EQ(threadContext().file(VenPro).rec().str(PRO::NAME), "House");

    // The diary's "all" matches no project.
    GCategory = kAllCategories;
    kit.call(makeProjectBr({}), SelectRecord, &response);
    EXPECT_EQ(kit.rows("ProjectBr"), 0);
    kit.press("ProjectBr", "Close");
    EXPECT_EQ(response, RequestCancelled);
}

} // namespace
} // namespace ven::test
