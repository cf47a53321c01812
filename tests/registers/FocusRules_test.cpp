// The register forms whose rules take the focus back when it leaves a field
// (an unknown account, a blank total, a refused number, a lookup closed
// unchosen): clicking from each field into every other one, with a value
// typed first, ends with the form open and working.
#include "WindowKit.h"
#include "registers/AccountsFr.h"
#include "registers/MoneyFr.h"
#include "registers/NameFr.h"

using namespace ven;
using namespace ven::test;

TEST(FocusRules, ClicksBetweenEveryPairOfFieldsLeaveEachRegisterFormWorking)
{
    struct Form {
        const char* procedure;
        std::unique_ptr<WindowController> (*make)();
    };
    const Form forms[] = {
        {"MoneyFr", [] { return makeMoneyFr({}); }},
        {"NameFr", [] { return makeNameFr({}); }},
        {"AccountsFr", [] { return makeAccountsFr({}); }},
    };
    for (const Form& f : forms)
        for (const char* typed : {"9", "x"}) {
            SCOPED_TRACE(std::string(f.procedure) + " typing " + typed);
            WindowKit kit;
            kit.call(f.make(), InsertRecord);
            ASSERT_TRUE(kit.isOpen(f.procedure));
            EXPECT_GT(kit.focusEveryPair(f.procedure, typed), 0);
            ASSERT_TRUE(kit.isOpen(f.procedure));
            // Still answering: the focused field takes what is typed.
            const QString focused = kit.window(f.procedure).window().focusedControl();
            ASSERT_FALSE(focused.isEmpty());
            kit.replaceText(f.procedure, focused, "7");
            EXPECT_EQ(kit.text(f.procedure, focused).trimmed().left(1), "7");
        }
}
