// The close question: its answers, Esc, and a minute without an answer.
#include "WindowKit.h"

#include "core/CloseVendrolix.h"
#include "core/Globals.h"

#include <QProgressBar>

using namespace ven;
using ven::test::WindowKit;

namespace {

struct CloseQuestion : ::testing::Test {
    WindowKit kit;
    ~CloseQuestion() override { CloseRequested = 0; }
    void open()
    {
        kit.start([] { return makeCloseVendrolix({}); });
        ASSERT_TRUE(kit.isOpen("CloseVendrolix"));
    }
};

TEST_F(CloseQuestion, TheAnswerGoesToCloseRequested)
{
    struct Case {
        const char* act;  // a button, or "Esc"
        uint8_t before, after;
    };
    const Case cases[] = {{"Yes", 0, 1}, {"No", 1, 0}, {"Esc", 1, 1}, {"Esc", 0, 0}};
    for (const Case& c : cases) {
        CloseRequested = c.before;
        open();
        EXPECT_EQ(kit.text("CloseVendrolix", "Question"), "Are you sure you want to close Vendrolix?");
        if (QString(c.act) == "Esc")
            kit.key("CloseVendrolix", Qt::Key_Escape, "No");
        else
            kit.press("CloseVendrolix", c.act);
        EXPECT_FALSE(kit.isOpen("CloseVendrolix")) << c.act;
        EXPECT_EQ(CloseRequested, c.after) << c.act << " from " << int(c.before);
    }
}

TEST_F(CloseQuestion, TheSixtyFirstTickClosesTheProgram)
{
    open();
    auto* bar = kit.control("CloseVendrolix", "Progress").as<QProgressBar>();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->maximum(), 60);
    kit.wait(30000);
    EXPECT_EQ(bar->value(), 30);
    kit.wait(30000);
    EXPECT_EQ(bar->value(), 60);
    ASSERT_TRUE(kit.isOpen("CloseVendrolix"));
    EXPECT_EQ(CloseRequested, 0);
    kit.wait(1000);
    EXPECT_FALSE(kit.isOpen("CloseVendrolix"));
    EXPECT_EQ(CloseRequested, 1);
}

} // namespace
