// The browse list and the record form: orders, locator, ranges and filter,
// select mode, Copy, insert/change/delete with their messages, in-place
// editing, list formats with F12, and a file of 100,000 records.
#include "Samples.h"

#include "platform/Ini.h"

#include <QElapsedTimer>
#include <QHeaderView>

namespace ven::test {
namespace {

const std::vector<std::pair<QString, int>> kFour = {{"Delta", 10}, {"alpha", 20}, {"Charlie", 30}, {"bravo", 40}};

QStringList column(WindowKit& kit, const QString& proc, int col)
{
    QStringList out;
    for (int r = 0; r < kit.rows(proc); ++r)
        out << kit.cell(proc, r, col).trimmed();
    return out;
}

// The highlighted row is selected and lies whole within the list's view.
::testing::AssertionResult shownHighlighted(WindowKit& kit, const QString& proc)
{
    QTableView* v = kit.list(proc);
    const QModelIndex cur = v->currentIndex();
    if (!cur.isValid())
        return ::testing::AssertionFailure() << "no row highlighted";
    if (!v->selectionModel()->isRowSelected(cur.row(), {}))
        return ::testing::AssertionFailure() << "row " << cur.row() << " is current but not highlighted";
    const QRect r = v->visualRect(cur);
    if (!v->viewport()->rect().contains(r))
        return ::testing::AssertionFailure() << "row " << cur.row() << " drawn at y " << r.top() << ".." << r.bottom()
                                             << ", the view shows 0.." << v->viewport()->height() - 1;
    return ::testing::AssertionSuccess();
}

TEST(Browse, OrdersByTabLocatesAndKeepsTheHighlightedRecord)
{
    WindowKit kit;
    addSamples(kFour);
    kit.start([] { return std::make_unique<SampleBr>(); });
    EXPECT_EQ(column(kit, "SampleBr", 1), QStringList({"Delta", "alpha", "Charlie", "bravo"}));
    EXPECT_EQ(kit.cell("SampleBr", 2, 3).trimmed(), "60");  // computed column
    EXPECT_EQ(kit.highlighted("SampleBr"), 0);

    kit.choose("SampleBr", "Sheet", "2");
    EXPECT_EQ(column(kit, "SampleBr", 1), QStringList({"alpha", "bravo", "Charlie", "Delta"}));
    EXPECT_EQ(kit.cell("SampleBr", kit.highlighted("SampleBr"), 1), "Delta");

    kit.typeInList("SampleBr", "ch");
    EXPECT_EQ(kit.cell("SampleBr", kit.highlighted("SampleBr"), 1), "Charlie");
    // The highlighted row is the record buffer of the procedure's file.
    EXPECT_EQ(kit.window("SampleBr").file(sampleFile()).rec().str(TST::NAME), "Charlie");
    kit.typeInList("SampleBr", "zz");
    EXPECT_EQ(kit.cell("SampleBr", kit.highlighted("SampleBr"), 1), "Delta");  // past the last: the last
}

TEST(Browse, EmptyListDisablesChangeAndDeleteAndThePopupFollowsTheButtons)
{
    WindowKit kit;
    kit.start([] { return std::make_unique<SampleBr>(); });
    EXPECT_EQ(kit.rows("SampleBr"), 0);
    EXPECT_FALSE(kit.control("SampleBr", "Change").isEnabled());
    EXPECT_FALSE(kit.control("SampleBr", "Delete").isEnabled());
    EXPECT_FALSE(kit.control("SampleBr", "Select").isVisible());
    QMenu* menu = kit.popup("SampleBr");
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->title(), "Browse Actions");
    QStringList items;
    for (QAction* a : menu->actions())
        items << a->text() + (a->isEnabled() ? "" : " (off)");
    EXPECT_EQ(items, QStringList({"&Insert", "&Change (off)", "&Delete (off)"}));
    menu->actions()[0]->trigger();
    kit.settle();
    EXPECT_TRUE(kit.isOpen("SampleFr"));
    EXPECT_EQ(kit.window("SampleFr").REQUEST, InsertRecord);
}

TEST(Browse, SelectModeReturnsTheHighlightedRecord)
{
    WindowKit kit;
    addSamples(kFour);
    uint8_t response = 0;
    kit.call(std::make_unique<SampleBr>(), SelectRecord, &response);
    ASSERT_TRUE(kit.control("SampleBr", "Select").isVisible());
    kit.highlight("SampleBr", 2);
    kit.press("SampleBr", "Select");
    EXPECT_FALSE(kit.isOpen("SampleBr"));
    EXPECT_EQ(response, RequestCompleted);
    KeyedFile& f = threadContext(kFrameThread).file(sampleFile());
    EXPECT_EQ(f.rec().str(TST::NAME), "Charlie");

    kit.call(std::make_unique<SampleBr>(), SelectRecord, &response);
    kit.press("SampleBr", "Close");
    EXPECT_EQ(response, RequestCancelled);
}

TEST(Form, InsertWithRangeErrorThenSavedAndHighlighted)
{
    WindowKit kit;
    addSamples(kFour);
    kit.start([] { return std::make_unique<SampleBr>(); });
    kit.press("SampleBr", "Insert");
    auto& form = static_cast<SampleFr&>(kit.window("SampleFr"));
    EXPECT_EQ(form.REQUEST, InsertRecord);
    EXPECT_FALSE(form.primedCopy);
    EXPECT_EQ(kit.text("SampleFr", "Number").trimmed(), "5");
    EXPECT_EQ(kit.text("SampleFr", "Amount").trimmed(), "7");  // the file's initial value
    EXPECT_FALSE(kit.window("SampleBr").window().outer()->isEnabled());

    kit.replaceText("SampleFr", "Name", "Echo");
    kit.tab("SampleFr");
    kit.replaceText("SampleFr", "Amount", "5000");
    kit.tab("SampleFr");
    kit.press("SampleFr", "OK");
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_EQ(kit.boxes()[0].caption, "Range Error");
    EXPECT_EQ(kit.boxes()[0].text, "The value of Amount must be between 0 and 1000.");
    EXPECT_TRUE(kit.isOpen("SampleFr"));

    kit.replaceText("SampleFr", "Amount", "50");
    kit.tab("SampleFr");
    kit.press("SampleFr", "OK");
    EXPECT_FALSE(kit.isOpen("SampleFr"));
    EXPECT_EQ(sampleCount(), 5);
    EXPECT_EQ(sampleRecord(5).str(TST::NAME), "Echo");
    EXPECT_EQ(sampleRecord(5).str(TST::NOTE), "new");  // the form's own initial value
    EXPECT_EQ(kit.cell("SampleBr", kit.highlighted("SampleBr"), 1), "Echo");
    EXPECT_TRUE(kit.window("SampleBr").window().outer()->isEnabled());
}

TEST(Form, CancelAndTheCloseBoxDropChangesSilentlyAndReleaseTheNumber)
{
    WindowKit kit;
    addSamples(kFour);
    kit.start([] { return std::make_unique<SampleBr>(); });
    kit.press("SampleBr", "Insert");
    kit.replaceText("SampleFr", "Name", "Dropped");
    kit.tab("SampleFr");
    kit.press("SampleFr", "Cancel");
    EXPECT_EQ(sampleCount(), 4);
    kit.press("SampleBr", "Insert");
    EXPECT_EQ(kit.text("SampleFr", "Number").trimmed(), "5");  // the number was released
    kit.window("SampleFr").window().outer()->close();
    kit.settle();
    EXPECT_FALSE(kit.isOpen("SampleFr"));
    EXPECT_EQ(sampleCount(), 4);

    kit.highlight("SampleBr", 1);
    kit.press("SampleBr", "Change");
    EXPECT_EQ(kit.text("SampleFr", "Name"), "alpha");
    kit.replaceText("SampleFr", "Name", "changed");
    kit.tab("SampleFr");
    kit.window("SampleFr").window().outer()->close();
    kit.settle();
    EXPECT_EQ(sampleRecord(2).str(TST::NAME), "alpha");
    EXPECT_TRUE(kit.boxes().empty());
}

TEST(Form, ChangeAndDeleteFromTheirForms)
{
    WindowKit kit;
    addSamples(kFour);
    kit.start([] { return std::make_unique<SampleBr>(); });
    kit.highlight("SampleBr", 2);
    kit.press("SampleBr", "Change");
    kit.replaceText("SampleFr", "Amount", "33");
    kit.tab("SampleFr");
    kit.press("SampleFr", "OK");
    EXPECT_EQ(sampleRecord(3).num(TST::AMOUNT), 33);
    EXPECT_EQ(kit.cell("SampleBr", 2, 2).trimmed(), "33");

    // DELETEACTION 3: the form shows the record and OK deletes it, no question.
    kit.press("SampleBr", "Delete");
    EXPECT_EQ(kit.text("SampleFr", "Name"), "Charlie");
    kit.press("SampleFr", "OK");
    EXPECT_EQ(sampleCount(), 3);
    EXPECT_EQ(column(kit, "SampleBr", 1), QStringList({"Delta", "alpha", "bravo"}));
    EXPECT_EQ(kit.cell("SampleBr", kit.highlighted("SampleBr"), 1), "bravo");
    EXPECT_TRUE(kit.boxes().empty());
}

TEST(Form, DeleteActionFourDeletesAtOnceWithoutAWindow)
{
    WindowKit kit;
    addSamples(kFour);
    kit.start([] { return std::make_unique<SampleBr>("SampleBr", ProcedureTraits{}, nullptr, 4); });
    kit.highlight("SampleBr", 0);
    kit.press("SampleBr", "Delete");
    EXPECT_FALSE(kit.isOpen("SampleFr"));
    EXPECT_EQ(sampleCount(), 3);
    EXPECT_EQ(kit.rows("SampleBr"), 3);
    EXPECT_TRUE(kit.boxes().empty());
}

TEST(Form, ChangedByAnotherStationShowsTheirsAndTheHistoryKeyRecallsMine)
{
    WindowKit kit;
    addSamples(kFour);
    kit.start([] { return std::make_unique<SampleBr>(); });
    kit.highlight("SampleBr", 0);
    kit.press("SampleBr", "Change");
    kit.replaceText("SampleFr", "Name", "Mine");
    kit.tab("SampleFr");
    {
        Context other;
        KeyedFile& f = other.file(sampleFile());
        ASSERT_TRUE(f.open());
        f.rec().set(TST::NUMBER, 1);
        ASSERT_TRUE(f.get(TST::NUMBERKEY));
        f.rec().set(TST::NAME, "Theirs");
        ASSERT_TRUE(f.put());
    }
    kit.press("SampleFr", "OK");
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_EQ(kit.boxes()[0].caption, "Record Was Not Updated");
    EXPECT_TRUE(kit.isOpen("SampleFr"));
    EXPECT_EQ(kit.text("SampleFr", "Name"), "Theirs");
    kit.control("SampleFr", "Name").select();
    kit.key("SampleFr", (Qt::CTRL | Qt::Key_Apostrophe).toCombined(), "Name");
    EXPECT_EQ(kit.text("SampleFr", "Name"), "Mine");
    kit.press("SampleFr", "OK");
    EXPECT_EQ(sampleRecord(1).str(TST::NAME), "Mine");
}

TEST(Form, CopyOpensTheFormOnACopyWithANewNumber)
{
    WindowKit kit;
    addSamples(kFour);
    kit.start([] { return std::make_unique<SampleBr>(); });
    kit.highlight("SampleBr", 2);
    kit.press("SampleBr", "Copy");
    auto& form = static_cast<SampleFr&>(kit.window("SampleFr"));
    EXPECT_EQ(CopyRequested, 0);
    EXPECT_TRUE(form.primedCopy);
    EXPECT_EQ(form.REQUEST, InsertRecord);
    EXPECT_EQ(kit.text("SampleFr", "Name"), "Charlie");
    EXPECT_EQ(kit.text("SampleFr", "Number").trimmed(), "5");
    kit.press("SampleFr", "OK");
    EXPECT_EQ(sampleRecord(5).str(TST::NAME), "Charlie");
    EXPECT_EQ(sampleRecord(5).num(TST::AMOUNT), 30);
}

TEST(Form, FormsServingSomeRequestsRefuseTheOthers)
{
    WindowKit kit;
    addSamples(kFour);
    const struct {
        std::initializer_list<uint8_t> serves;
        uint8_t request;
        const char* text;
    } cases[] = {
        {{InsertRecord}, ChangeRecord, "This form cannot be used to update a record"},
        {{InsertRecord}, DeleteRecord, "This form cannot be used to delete a record"},
        {{ChangeRecord}, InsertRecord, "This form cannot be used to insert a record"},
    };
    for (const auto& c : cases) {
        kit.clearBoxes();
        auto form = std::make_unique<SampleFr>();
        form->setServes(c.serves);
        uint8_t response = 0;
        kit.call(std::move(form), c.request, &response);
        EXPECT_EQ(response, RequestCancelled);
        EXPECT_FALSE(kit.isOpen("SampleFr"));
        ASSERT_EQ(kit.boxes().size(), 1u);
        EXPECT_EQ(kit.boxes()[0].caption, "Invalid Request");
        EXPECT_EQ(kit.boxes()[0].text, c.text);
    }
    EXPECT_EQ(sampleCount(), 4);
}

TEST(Browse, RangeLimitsAndFiltersAreBoundValues)
{
    WindowKit kit;
    addSamples(kFour);
    int least = 15;
    kit.start([&least] {
        return std::make_unique<SampleBr>("SampleBr", ProcedureTraits{}, [&least](BrowseList& b) {
            b.setRange(TST::NUMBER, int64_t(2), int64_t(4));
            b.setFilter([&least](const Record& r) { return r.num(TST::AMOUNT) > least; });
        });
    });
    EXPECT_EQ(column(kit, "SampleBr", 1), QStringList({"alpha", "Charlie", "bravo"}));
    least = 25;
    postEvent(Event::GainFocus, kit.window("SampleBr").thread());
    kit.settle();
    EXPECT_EQ(column(kit, "SampleBr", 1), QStringList({"Charlie", "bravo"}));
    kit.keyInList("SampleBr", Qt::Key_End);
    EXPECT_EQ(kit.cell("SampleBr", kit.highlighted("SampleBr"), 1), "bravo");
}

TEST(Browse, RefillsWhenTheDataChangeElsewhere)
{
    WindowKit kit;
    addSamples(kFour);
    kit.start([] { return std::make_unique<SampleBr>(); });
    kit.highlight("SampleBr", 1);
    addSamples({{"Foxtrot", 1}}, 10);
    postEvent(Event::GainFocus, kit.window("SampleBr").thread());
    kit.settle();
    EXPECT_EQ(kit.rows("SampleBr"), 5);
    EXPECT_EQ(kit.cell("SampleBr", kit.highlighted("SampleBr"), 1), "alpha");
}

TEST(Browse, EditsInPlace)
{
    WindowKit kit;
    addSamples(kFour);
    kit.start([] {
        return std::make_unique<SampleBr>("SampleBr", ProcedureTraits{}, [](BrowseList& b) { b.setEditInPlace(true); });
    });
    QTableView* v = kit.list("SampleBr");
    kit.highlight("SampleBr", 3);
    kit.press("SampleBr", "Insert");
    ASSERT_EQ(kit.rows("SampleBr"), 5);
    QWidget* editor = QApplication::focusWidget();
    ASSERT_TRUE(qobject_cast<QLineEdit*>(editor));
    QTest::keyClicks(editor, "Zulu");
    QTest::keyClick(editor, Qt::Key_Return);
    kit.settle();
    EXPECT_EQ(sampleCount(), 5);
    EXPECT_EQ(sampleRecord(5).str(TST::NAME), "Zulu");
    EXPECT_EQ(sampleRecord(5).num(TST::AMOUNT), 7);  // the file's initial value

    kit.highlight("SampleBr", 1);
    kit.press("SampleBr", "Change");
    editor = QApplication::focusWidget();
    ASSERT_TRUE(qobject_cast<QLineEdit*>(editor));
    qobject_cast<QLineEdit*>(editor)->selectAll();
    QTest::keyClicks(editor, "Alpha");
    QTest::keyClick(editor, Qt::Key_Return);
    kit.settle();
    EXPECT_EQ(sampleRecord(2).str(TST::NAME), "Alpha");
    EXPECT_EQ(kit.cell("SampleBr", 1, 1), "Alpha");
    (void)v;

    kit.answer(1);
    kit.highlight("SampleBr", 0);
    kit.press("SampleBr", "Delete");
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_EQ(kit.boxes()[0].caption, "Confirm Delete");
    EXPECT_EQ(sampleCount(), 4);
    EXPECT_FALSE(kit.isOpen("SampleFr"));
}

TEST(ListFormats, FirstWayWithF12AndSecondWay)
{
    WindowKit kit;
    addSamples(kFour);
    ProcedureTraits first;
    first.format = FormatWay::Switchable;
    kit.start([first] { return std::make_unique<SampleBr>("FmtBr", first); });
    QHeaderView* h = kit.list("FmtBr")->horizontalHeader();
    const DialogUnits du = kit.window("FmtBr").window().units();
    const int designedName = h->sectionSize(1);
    h->resizeSection(1, du.x(120));
    kit.press("FmtBr", "Close");
    // The number column ("n_7") is widened to show "9,999,999" whole.
    const QString ini = kit.ini();
    EXPECT_EQ(readIni(ini, "FmtBr", "?Browse:1:ORIG", ""), "1:33,2:80,3:30,4:30");
    EXPECT_EQ(readIni(ini, "FmtBr", "?Browse:1:USER", ""), "1:33,2:120,3:30,4:30");

    // Opening shows the user format; F12 the designed one; closing keeps what showed.
    kit.start([first] { return std::make_unique<SampleBr>("FmtBr", first); });
    h = kit.list("FmtBr")->horizontalHeader();
    EXPECT_EQ(h->sectionSize(1), du.x(120));
    kit.keyInList("FmtBr", Qt::Key_F12);
    EXPECT_EQ(h->sectionSize(1), designedName);
    kit.keyInList("FmtBr", Qt::Key_F12);
    EXPECT_EQ(h->sectionSize(1), du.x(120));
    kit.keyInList("FmtBr", Qt::Key_F12);
    kit.press("FmtBr", "Close");
    EXPECT_EQ(readIni(ini, "FmtBr", "?Browse:1:USER", ""), "1:33,2:80,3:30,4:30");

    // A malformed format from the file leaves the designed columns.
    writeIni(ini, "FmtBr", "?Browse:1:USER", "2:abc,,9:9");
    kit.start([first] { return std::make_unique<SampleBr>("FmtBr", first); });
    EXPECT_EQ(kit.list("FmtBr")->horizontalHeader()->sectionSize(1), designedName);
    kit.press("FmtBr", "Close");

    // The second way: one format, moved columns kept, F12 does nothing.
    ProcedureTraits second;
    second.format = FormatWay::Single;
    writeIni(ini, "OneFmtBr", "?Browse:1Format", "3:30,1:20");
    kit.start([second] { return std::make_unique<SampleBr>("OneFmtBr", second); });
    h = kit.list("OneFmtBr")->horizontalHeader();
    EXPECT_EQ(h->logicalIndex(0), 2);
    // The stored 20 is too narrow for "9,999,999": widened as it is read.
    EXPECT_EQ(h->sectionSize(0), du.x(33));
    kit.keyInList("OneFmtBr", Qt::Key_F12);
    EXPECT_EQ(h->sectionSize(0), du.x(33));
    kit.press("OneFmtBr", "Close");
    EXPECT_EQ(readIni(ini, "OneFmtBr", "?Browse:1Format", ""), "3:30,1:33,2:80,4:30");
}

TEST(Browse, HundredThousandRecordsOpenAtOnceAndScrollToTheEnd)
{
    WindowKit kit;
    std::vector<std::pair<QString, int>> many;
    many.reserve(100000);
    for (int i = 0; i < 100000; ++i)
        many.emplace_back(QStringLiteral("Name %1").arg(99999 - i, 5, 10, QChar('0')), i % 1000);
    addSamples(many);

    QElapsedTimer t;
    t.start();
    kit.start([] { return std::make_unique<SampleBr>(); });
    const qint64 openMs = t.elapsed();
    EXPECT_LT(openMs, 1000);  // the bench holds the real figure
    EXPECT_EQ(kit.cell("SampleBr", 0, 0).trimmed(), "1");
    EXPECT_LT(kit.rows("SampleBr"), 1000);  // only pages around the view are read

    // Paging down reads on; the numbers stay in order without a gap.
    for (int i = 0; i < 200; ++i)
        kit.keyInList("SampleBr", Qt::Key_PageDown);
    const int at = kit.highlighted("SampleBr");
    const int number = kit.cell("SampleBr", at, 0).trimmed().toInt();
    EXPECT_GT(number, 1000);
    EXPECT_EQ(kit.cell("SampleBr", at - 1, 0).trimmed().toInt(), number - 1);
    EXPECT_LT(kit.rows("SampleBr"), 1000);

    kit.keyInList("SampleBr", Qt::Key_End);
    EXPECT_EQ(kit.cell("SampleBr", kit.highlighted("SampleBr"), 0).remove(' '), "100000");
    EXPECT_TRUE(shownHighlighted(kit, "SampleBr"));
    kit.keyInList("SampleBr", Qt::Key_PageUp);
    kit.keyInList("SampleBr", Qt::Key_Up);
    const int up = kit.highlighted("SampleBr");
    EXPECT_EQ(kit.cell("SampleBr", up, 0).remove(' ').toInt() + 1, kit.cell("SampleBr", up + 1, 0).remove(' ').toInt());
    EXPECT_TRUE(shownHighlighted(kit, "SampleBr"));
    kit.keyInList("SampleBr", Qt::Key_Home);
    EXPECT_EQ(kit.cell("SampleBr", kit.highlighted("SampleBr"), 0).trimmed(), "1");
    EXPECT_TRUE(shownHighlighted(kit, "SampleBr"));
    kit.choose("SampleBr", "Sheet", "2");
    kit.typeInList("SampleBr", "name 5");
    EXPECT_EQ(kit.cell("SampleBr", kit.highlighted("SampleBr"), 1), "Name 50000");
    EXPECT_TRUE(shownHighlighted(kit, "SampleBr"));
    // The locator deep in the file, typed on and taken back.
    kit.typeInList("SampleBr", "6");
    EXPECT_EQ(kit.cell("SampleBr", kit.highlighted("SampleBr"), 1), "Name 56000");
    EXPECT_TRUE(shownHighlighted(kit, "SampleBr"));
    kit.keyInList("SampleBr", Qt::Key_Backspace);
    EXPECT_EQ(kit.cell("SampleBr", kit.highlighted("SampleBr"), 1), "Name 50000");
    EXPECT_TRUE(shownHighlighted(kit, "SampleBr"));

    // A record inserted deep in the file is shown highlighted after the form.
    kit.press("SampleBr", "Insert");
    kit.type("SampleFr", "Name", "Name 77777a");
    kit.tab("SampleFr");
    kit.press("SampleFr", "OK");
    ASSERT_FALSE(kit.isOpen("SampleFr"));
    EXPECT_EQ(kit.cell("SampleBr", kit.highlighted("SampleBr"), 1), "Name 77777a");
    EXPECT_TRUE(shownHighlighted(kit, "SampleBr"));
    // So is the record a refresh keeps when the window is active again.
    postEvent(Event::GainFocus, kit.window("SampleBr").thread());
    kit.settle();
    EXPECT_EQ(kit.cell("SampleBr", kit.highlighted("SampleBr"), 1), "Name 77777a");
    EXPECT_TRUE(shownHighlighted(kit, "SampleBr"));
}

} // namespace
} // namespace ven::test
