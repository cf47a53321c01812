// Procedure threads, calls, the single-instance rules, busy flags, posted
// events and window timers.
#include "Samples.h"

namespace ven::test {
namespace {

ProcedureTraits rule(SingleRule r)
{
    ProcedureTraits t;
    t.single = r;
    return t;
}

TEST(ProcedureThreads, NumbersTwoToSixtyFourThenTheStartFails)
{
    WindowKit kit;
    std::vector<int> numbers;
    for (int i = 0; i < 63; ++i)
        numbers.push_back(kit.start([] { return std::make_unique<SampleWnd>("Filler", ProcedureTraits{}); }));
    EXPECT_EQ(numbers.front(), 2);
    EXPECT_EQ(numbers.back(), 64);
    EXPECT_EQ(kit.openCount("Filler"), 63);
    EXPECT_EQ(ven::start([] { return std::make_unique<SampleWnd>("Filler", ProcedureTraits{}); }), 0);

    // Each thread has its own file instances; an ended thread's number is free again.
    EXPECT_NE(&threadContext(2), &threadContext(3));
    WindowController* third = nullptr;
    for (WindowController* w : WindowController::openWindows())
        if (w->thread() == 3)
            third = w;
    ASSERT_NE(third, nullptr);
    third->close(RequestCancelled);
    kit.settle();
    EXPECT_FALSE(threadRunning(3));
    EXPECT_EQ(kit.start([] { return std::make_unique<SampleWnd>("Again", ProcedureTraits{}); }), 3);
}

TEST(ProcedureCalls, CallerWaitsDisabledAndGetsTheResponse)
{
    WindowKit kit;
    kit.start([] { return std::make_unique<SampleWnd>("Caller", ProcedureTraits{}); });
    WindowController& caller = kit.window("Caller");
    uint8_t response = 0, requestSeen = 99;
    {
        ThreadScope scope(caller.thread());
        auto callee = std::make_unique<SampleWnd>("Callee", ProcedureTraits{});
        WindowController* c = callee.get();
        ven::call(std::move(callee), ChangeRecord, [&](uint8_t r) { response = r; });
        requestSeen = c->REQUEST;
        EXPECT_EQ(c->thread(), caller.thread());  // the caller's context
    }
    kit.settle();
    EXPECT_EQ(requestSeen, ChangeRecord);
    EXPECT_EQ(CallRequest, NoRequest);  // consumed by the set-up
    EXPECT_FALSE(caller.window().outer()->isEnabled());
    kit.press("Callee", "Close");
    EXPECT_EQ(response, RequestCancelled);
    EXPECT_EQ(CallResponse, RequestCancelled);
    EXPECT_TRUE(caller.window().outer()->isEnabled());
    EXPECT_FALSE(kit.isOpen("Callee"));
}

TEST(SingleInstance, WindowRuleRestoresAndRaisesTheIconizedOne)
{
    WindowKit kit;
    const int first = kit.start([] { return std::make_unique<SampleWnd>("OneWnd", rule(SingleRule::Window)); });
    WindowController& w = kit.window("OneWnd");
    EXPECT_EQ(Running.get("OneWnd"), first);
    EXPECT_EQ(Thread.get("OneWnd"), first);
    w.setIconized(true);
    kit.settle();
    ASSERT_TRUE(w.iconized());
    auto* sample = static_cast<SampleWnd*>(&w);
    const int focusBefore = sample->events[Event::GainFocus];

    kit.start([] { return std::make_unique<SampleWnd>("OneWnd", rule(SingleRule::Window)); });
    EXPECT_EQ(kit.openCount("OneWnd"), 1);
    EXPECT_FALSE(w.iconized());
    EXPECT_GT(sample->events[Event::GainFocus], focusBefore);
    EXPECT_EQ(Running.get("OneWnd"), first);

    w.close(RequestCancelled);
    kit.settle();
    EXPECT_EQ(Running.get("OneWnd"), 0);
    EXPECT_EQ(Thread.get("OneWnd"), 0);
}

TEST(SingleInstance, LookupBesideTheOpenOneOpensAndLeavesTheFlag)
{
    WindowKit kit;
    const int first = kit.start([] { return std::make_unique<SampleWnd>("LookBr", rule(SingleRule::Window)); });
    uint8_t response = 0;
    kit.call(std::make_unique<SampleWnd>("LookBr", rule(SingleRule::Window)), SelectRecord, &response);
    EXPECT_EQ(kit.openCount("LookBr"), 2);  // the lookup answers beside the open copy
    EXPECT_EQ(Running.get("LookBr"), first);
    kit.press("LookBr", "Close");
    EXPECT_EQ(response, RequestCancelled);
    EXPECT_EQ(kit.openCount("LookBr"), 1);
    EXPECT_EQ(Running.get("LookBr"), first);  // only the instance that set it clears it
    EXPECT_EQ(Thread.get("LookBr"), first);

    // A start from the menu still brings the open copy forward.
    kit.start([] { return std::make_unique<SampleWnd>("LookBr", rule(SingleRule::Window)); });
    EXPECT_EQ(kit.openCount("LookBr"), 1);
}

TEST(SingleInstance, SelfClosingSecondEndsWithoutRaisingTheFirst)
{
    WindowKit kit;
    const int first = kit.start([] { return std::make_unique<SampleWnd>("MoneyLike", rule(SingleRule::SelfClosing)); });
    WindowController& w = kit.window("MoneyLike");
    w.setIconized(true);
    kit.settle();
    kit.start([] { return std::make_unique<SampleWnd>("MoneyLike", rule(SingleRule::SelfClosing)); });
    EXPECT_EQ(kit.openCount("MoneyLike"), 1);
    EXPECT_TRUE(w.iconized());
    EXPECT_EQ(Running.get("MoneyLike"), first);
    EXPECT_EQ(Thread.get("MoneyLike"), 0);  // this variant keeps no Thread: flag
}

TEST(SingleInstance, FormRuleKeepsTheThreadFlagFromSetUpToTearDown)
{
    WindowKit kit;
    const int first = kit.start([] { return std::make_unique<SampleWnd>("OneFr", rule(SingleRule::Form)); });
    EXPECT_EQ(Thread.get("OneFr"), first);
    EXPECT_EQ(Running.get("OneFr"), 0);
    kit.start([] { return std::make_unique<SampleWnd>("OneFr", rule(SingleRule::Form)); });
    EXPECT_EQ(kit.openCount("OneFr"), 1);
    kit.press("OneFr", "Close");
    EXPECT_EQ(Thread.get("OneFr"), 0);
}

TEST(SingleInstance, TheTableNamesTheRulesOfThePart)
{
    const struct {
        const char* name;
        SingleRule rule;
        WallpaperKind wallpaper;
        bool placement;
    } cases[] = {
        {"NameBr", SingleRule::Window, WallpaperKind::Browse, true},
        {"DiaryFr", SingleRule::Form, WallpaperKind::Form, true},
        {"MoneyBr", SingleRule::SelfClosing, WallpaperKind::Browse, true},
        {"LoginWnd", SingleRule::SelfClosing, WallpaperKind::FixedStretched, true},
        {"AboutWnd", SingleRule::Window, WallpaperKind::None, false},
        {"Calendar", SingleRule::None, WallpaperKind::None, true},
        {"CloseVendrolix", SingleRule::None, WallpaperKind::Other, false},
    };
    for (const auto& c : cases) {
        const ProcedureTraits t = traitsOf(c.name);
        EXPECT_EQ(t.single, c.rule) << c.name;
        EXPECT_EQ(t.wallpaper, c.wallpaper) << c.name;
        EXPECT_EQ(t.keepsPlacement, c.placement) << c.name;
    }
    EXPECT_TRUE(traitsOf("DiarySel").runningHoldsFrame);
    EXPECT_STREQ(traitsOf("NotesFr").busy, "DailyNote");
    EXPECT_TRUE(traitsOf("IdeaFr").busyKeptSingle);
    EXPECT_EQ(traitsOf("ProjectBr").format, FormatWay::Single);
    EXPECT_TRUE(traitsOf("ProjectBr").formatInProgramPath);
    EXPECT_EQ(traitsOf("IdeaFr").formatList, 2);
}

TEST(BusyFlags, SetWhileOpenAndKeptSingleWhereTheTableSaysSo)
{
    WindowKit kit;
    ProcedureTraits plain;
    plain.busy = "Shared";
    kit.start([plain] { return std::make_unique<SampleWnd>("PlainFr", plain); });
    EXPECT_EQ(Busy.get("Shared"), 1);
    EXPECT_TRUE(Busy.anySet());
    kit.press("PlainFr", "Close");
    EXPECT_EQ(Busy.get("Shared"), 0);

    ProcedureTraits single;
    single.busy = "Single";
    single.busyKeptSingle = true;
    const int t = kit.start([single] { return std::make_unique<SampleWnd>("SingleFr", single); });
    EXPECT_EQ(Busy.get("Single"), t);
    kit.start([single] { return std::make_unique<SampleWnd>("SingleFr", single); });
    EXPECT_EQ(kit.openCount("SingleFr"), 1);
    EXPECT_EQ(Busy.get("Single"), t);
}

TEST(Events, PostedToAnotherThreadsWindowAndTheDiarySelectionHoldsOne)
{
    WindowKit kit;
    ProcedureTraits sel = rule(SingleRule::Window);
    sel.runningHoldsFrame = true;
    const int t = kit.start([sel] { return std::make_unique<SampleWnd>("SelLike", sel); });
    EXPECT_EQ(Running.get("SelLike"), 1);
    auto& w = static_cast<SampleWnd&>(kit.window("SelLike"));
    const int before = w.events[Event::Resume];
    postEvent(Event::Resume, t);
    kit.settle();
    EXPECT_EQ(w.events[Event::Resume], before + 1);
    postEvent(Event::CloseWindow, t);
    kit.settle();
    EXPECT_FALSE(kit.isOpen("SelLike"));
    EXPECT_EQ(Running.get("SelLike"), 0);
}

TEST(Events, TimerTicksInHundredthsOnTheFakeClock)
{
    WindowKit kit;
    kit.start([] { return std::make_unique<SampleWnd>("Ticker", ProcedureTraits{}); });
    auto& w = static_cast<SampleWnd&>(kit.window("Ticker"));
    w.setTimer(50);
    const QDateTime start = kit.clock().now();
    kit.wait(2000);
    EXPECT_EQ(w.events[Event::Timer], 4);
    EXPECT_EQ(start.msecsTo(kit.clock().now()), 2000);
    w.setTimer(0);
    kit.wait(2000);
    EXPECT_EQ(w.events[Event::Timer], 4);

    // A timer declared with the window runs from its opening.
    static const WindowDef timed{.title = "Timed", .w = 60, .h = 30, .timer = 100, .controls = {}};
    struct Timed : WindowController {
        Timed() : WindowController("Timed", timed, ProcedureTraits{}) {}
        int ticks = 0;
        void windowEvent(Event e) override
        {
            ticks += e == Event::Timer;
            WindowController::windowEvent(e);
        }
    };
    kit.start([] { return std::make_unique<Timed>(); });
    EXPECT_EQ(kit.window("Timed").timer(), 100);
    kit.wait(3000);
    EXPECT_EQ(static_cast<Timed&>(kit.window("Timed")).ticks, 3);
}

TEST(Events, AlertKeysReachTheWindowAndTheControl)
{
    WindowKit kit;
    kit.start([] { return std::make_unique<SampleWnd>("Keys", ProcedureTraits{}); });
    auto& w = static_cast<SampleWnd&>(kit.window("Keys"));
    w.armAlertKey(Qt::Key_F12);
    w.control("Name").select();
    kit.key("Keys", Qt::Key_F12, "Name");
    EXPECT_EQ(w.events[Event::AlertKey], 1);
    EXPECT_EQ(w.alertKey(), int(Qt::Key_F12));
    kit.key("Keys", Qt::Key_F11, "Name");
    EXPECT_EQ(w.events[Event::AlertKey], 1);
}

} // namespace
} // namespace ven::test
