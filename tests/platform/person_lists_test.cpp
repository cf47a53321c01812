// What a person meets around lists and the forms they open: a refreshing
// list leaves the open form's buffer alone, Esc is the window's cancel, a
// window hears GainFocus as it becomes the active one (in the frame's area
// too) and comes forward only when a second start asks, and a list that
// closes reads no more rows.
#include "Samples.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>

namespace ven::test {
namespace {

const std::vector<std::pair<QString, int>> kFour = {{"Delta", 10}, {"alpha", 20}, {"Charlie", 30}, {"bravo", 40}};

// The list refreshes (its window activated, the data changed) while the
// form it opened is editing: the form keeps the record and what was typed.
TEST(ListAndForm, ARefreshingListLeavesTheOpenFormsBufferAlone)
{
    for (const uint8_t request : {InsertRecord, ChangeRecord}) {
        SCOPED_TRACE(int(request));
        WindowKit kit;
        addSamples(kFour);
        kit.start([] { return std::make_unique<SampleBr>(); });
        kit.highlight("SampleBr", 2);  // Charlie, number 3
        kit.press("SampleBr", request == InsertRecord ? "Insert" : "Change");
        ASSERT_TRUE(kit.isOpen("SampleFr"));
        const QString number = kit.text("SampleFr", "Number").trimmed();
        kit.replaceText("SampleFr", "Name", "Echo");
        kit.tab("SampleFr");

        kit.window("SampleBr").post(Event::GainFocus);
        kit.settle();
        addSamples({{"Foxtrot", 1}}, 10);  // the data change meanwhile
        kit.window("SampleBr").post(Event::GainFocus);
        kit.window("SampleFr").post(Event::GainFocus);  // the form shows its buffer again
        kit.settle();
        EXPECT_EQ(kit.text("SampleFr", "Name"), "Echo");
        EXPECT_EQ(kit.text("SampleFr", "Number").trimmed(), number);
        EXPECT_EQ(kit.rows("SampleBr"), 4);  // no row for the record being inserted

        kit.press("SampleFr", "OK");
        EXPECT_FALSE(kit.isOpen("SampleFr"));
        EXPECT_EQ(sampleRecord(number.toInt()).str(TST::NAME), "Echo");
        EXPECT_EQ(sampleCount(), request == InsertRecord ? 6 : 5);
        if (request == InsertRecord)
            EXPECT_EQ(sampleRecord(3).str(TST::NAME), "Charlie");
        // The form's end refills the list on its record.
        EXPECT_EQ(kit.cell("SampleBr", kit.highlighted("SampleBr"), 1), "Echo");
        EXPECT_EQ(kit.rows("SampleBr"), request == InsertRecord ? 6 : 5);
    }
}

// Esc is the window's cancel: a form's Cancel (changes dropped), a list's
// Close; a window without such a button closes as by its close box; a
// window whose cancel is hidden or disabled stays.
TEST(Keys, EscIsTheWindowsCancel)
{
    WindowKit kit;
    addSamples(kFour);
    kit.start([] { return std::make_unique<SampleBr>(); });
    kit.press("SampleBr", "Change");
    kit.replaceText("SampleFr", "Name", "Echo");
    kit.escape("SampleFr");
    EXPECT_FALSE(kit.isOpen("SampleFr"));
    EXPECT_EQ(sampleRecord(1).str(TST::NAME), "Delta");
    EXPECT_TRUE(kit.isOpen("SampleBr"));
    EXPECT_TRUE(kit.boxes().empty());

    kit.control("SampleBr", "Close").disable();
    kit.escape("SampleBr");
    EXPECT_TRUE(kit.isOpen("SampleBr"));
    kit.control("SampleBr", "Close").enable();
    kit.keyInList("SampleBr", Qt::Key_Escape);
    EXPECT_FALSE(kit.isOpen("SampleBr"));

    static const WindowDef kBare{.title = "Bare", .w = 80, .h = 40, .controls = {
        {.name = "Name", .kind = Kind::Entry, .x = 4, .y = 4, .w = 60, .h = 12, .picture = "s20"}}};
    uint8_t response = 0;
    kit.call(std::make_unique<WindowController>("Bare", kBare, ProcedureTraits{}), NoRequest, &response);
    kit.type("Bare", "Name", "x");
    kit.escape("Bare");
    EXPECT_FALSE(kit.isOpen("Bare"));
    EXPECT_EQ(response, RequestCancelled);
}

ProcedureTraits windowRule()
{
    ProcedureTraits t;
    t.single = SingleRule::Window;
    return t;
}

// A GainFocus that is no second start (a refresh, the window becoming the
// active one) leaves an iconized single-instance window iconized.
TEST(Activation, OnlyASecondStartBringsAWindowForward)
{
    WindowKit kit;
    kit.start([] { return std::make_unique<SampleWnd>("OneWnd", windowRule()); });
    auto& w = static_cast<SampleWnd&>(kit.window("OneWnd"));
    w.setIconized(true);
    kit.settle();
    const int heard = w.events[Event::GainFocus];
    w.post(Event::GainFocus);
    kit.settle();
    EXPECT_EQ(w.events[Event::GainFocus], heard + 1);
    EXPECT_TRUE(w.iconized());

    kit.start([] { return std::make_unique<SampleWnd>("OneWnd", windowRule()); });
    EXPECT_EQ(kit.openCount("OneWnd"), 1);
    EXPECT_FALSE(w.iconized());
}

// A window in the frame's area that counts its GainFocus events.
class ChildWnd : public WindowController {
public:
    explicit ChildWnd(const QString& name) : WindowController(name, def(), ProcedureTraits{}) {}
    int gained = 0;

protected:
    void windowEvent(Event e) override
    {
        gained += e == Event::GainFocus;
        WindowController::windowEvent(e);
    }

private:
    static const WindowDef& def()
    {
        static const WindowDef d = [] {
            WindowDef c = sampleWindowDef();
            c.mdi = true;
            return c;
        }();
        return d;
    }
};

// Inside the frame's area a window hears GainFocus each time it becomes
// the active one again: another child activated over it and gone, the
// frame activated again after another window; and only then.
TEST(Activation, AFrameChildHearsGainFocusAsItBecomesTheActiveOne)
{
    WindowKit kit;
    QMdiArea area;
    area.resize(800, 600);
    setFrameArea(&area);
    area.show();
    area.activateWindow();
    kit.settle();
    ASSERT_TRUE(area.isActiveWindow());
    kit.start([] { return std::make_unique<ChildWnd>("ChildA"); });
    auto& a = static_cast<ChildWnd&>(kit.window("ChildA"));
    EXPECT_EQ(a.gained, 1);
    kit.start([] { return std::make_unique<ChildWnd>("ChildB"); });
    auto& b = static_cast<ChildWnd&>(kit.window("ChildB"));
    EXPECT_EQ(b.gained, 1);
    EXPECT_EQ(a.gained, 1);

    area.setActiveSubWindow(qobject_cast<QMdiSubWindow*>(a.window().outer()));
    kit.settle();
    EXPECT_EQ(a.gained, 2);
    area.setActiveSubWindow(qobject_cast<QMdiSubWindow*>(b.window().outer()));
    kit.settle();
    EXPECT_EQ(b.gained, 2);
    b.close(RequestCancelled);
    kit.settle();
    EXPECT_TRUE(a.isActiveWindow());
    EXPECT_EQ(a.gained, 3);

    QWidget other;
    other.show();
    other.activateWindow();
    kit.settle();
    EXPECT_EQ(a.gained, 3);
    area.activateWindow();
    kit.settle();
    EXPECT_EQ(a.gained, 4);
    a.close(RequestCancelled);
    kit.settle();
    setFrameArea(nullptr);
}

// A list that closes reads no rows, whatever its view does as it goes:
// its columns may read through members of the window that are gone.
TEST(ListAndForm, AClosingListReadsNoRows)
{
    struct Probe {
        bool closed = false;
        int readsAfter = 0;
    };
    class ProbeBr : public WindowController {
    public:
        explicit ProbeBr(Probe& p) : WindowController("ProbeBr", sampleBrowseDef(), ProcedureTraits{}), probe_(&p) {}

    protected:
        bool setUp() override
        {
            std::vector<BrowseColumn> columns = sampleColumns();
            columns.push_back(BrowseColumn::computed("Read", 20, "n6", [p = probe_](const Record& r) {
                p->readsAfter += p->closed;
                return QVariant(qlonglong(r.num(TST::NUMBER)));
            }));
            auto b = std::make_unique<BrowseList>(*this, sampleFile(), std::move(columns));
            b->addOrder(TST::NUMBERKEY);
            addPart(std::move(b));
            return true;
        }
        void tearDown() override { probe_->closed = true; }

    private:
        Probe* probe_;
    };

    WindowKit kit;
    std::vector<std::pair<QString, int>> many;
    for (int i = 0; i < 400; ++i)
        many.emplace_back(QStringLiteral("Name %1").arg(i), i);
    addSamples(many);
    Probe probe;
    kit.start([&probe] { return std::make_unique<ProbeBr>(probe); });
    kit.keyInList("ProbeBr", Qt::Key_End);  // rows above are still to be read
    ASSERT_GT(kit.list("ProbeBr")->verticalScrollBar()->value(), 0);
    kit.press("ProbeBr", "Close");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    kit.settle();
    EXPECT_FALSE(kit.isOpen("ProbeBr"));
    EXPECT_TRUE(probe.closed);
    EXPECT_EQ(probe.readsAfter, 0);
}

} // namespace
} // namespace ven::test
