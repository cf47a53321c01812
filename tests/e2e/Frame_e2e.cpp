// The frame's life under a window manager: the program's end with windows
// still open.
#include "E2eKit.h"
#include "Seeds.h"

#include <gtest/gtest.h>

using namespace ven::e2e;

// The program ends through File > Exit with windows open inside the frame:
// each closes through its own steps, the process exits with status 0 and
// the frame's closing steps are kept.
TEST(FrameEnd, ExitWithWindowsOpenEndsWithStatusZero)
{
    E2eKit kit;
    kit.prepareFolder();
    seedSmallDataSet(kit);
    kit.start();
    ASSERT_TRUE(kit.waitFor([&] { return bool(kit.frame()); }, "the frame"));
    kit.menu("&Vendrolix", {"Ca&lendar"});
    ASSERT_TRUE(kit.waitFor([&] { return kit.windows().size() >= 2; }, "the calendar"));
    kit.menu("&Vendrolix", {"&Calculator"});
    ASSERT_TRUE(kit.waitFor([&] { return kit.windows().size() >= 3; }, "the calculator"));
    kit.menu("&File", {"E&xit"});
    kit.expectOrderlyEnd();
    // The calculator's own closing steps ran: it keeps its decimals.
    EXPECT_FALSE(kit.ini("Main", "Decimals").isEmpty());
}

