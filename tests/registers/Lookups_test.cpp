// The registers' lists called as lookups: Enter presses Select wherever
// the focus is in the window, never the list's own default button.
#include "RegisterKit.h"

#include "registers/CountryBr.h"
#include "registers/ProgramsBr.h"

namespace ven::test {
namespace {

class Lookups : public RegisterTest {};

TEST_F(Lookups, EnterSelectsInsteadOfTheListsDefaultButton)
{
    add(VenCountry, [](Record& r) {
        r.set(CNT::NAME, "Finland");
        r.set(CNT::ABBR, "FIN");
        r.set(CNT::TEL, "358");
        r.set(CNT::NUMBER, int64_t(1));
    });
    addProgram("Zed", "/usr/bin/zed");
    const struct {
        const char* list;
        std::function<std::unique_ptr<WindowController>()> make;
        const char* form;   // what the list's default button would open
    } kCases[] = {
        {"CountryBr", [] { return makeCountryBr({}); }, "CountryFr"},
        {"ProgramsBr", [] { return makeProgramsBr(); }, "ProgramsFr"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.list);
        uint8_t response = 0;
        kit.call(c.make(), SelectRecord, &response);
        ASSERT_TRUE(kit.isOpen(c.list));
        ASSERT_GT(kit.rows(c.list), 0);
        kit.focus(c.list, "Sheet");  // the tabs hold the focus, not the list
        kit.enter(c.list);
        EXPECT_FALSE(kit.isOpen(c.list));
        EXPECT_FALSE(kit.isOpen(c.form));
        EXPECT_EQ(response, RequestCompleted);
        EXPECT_TRUE(shell.empty());  // nothing was started
    }
    EXPECT_EQ(threadContext(kFrameThread).file(VenCountry).rec().str(CNT::NAME), "Finland");
}

} // namespace
} // namespace ven::test
