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
        expectEveryFocusPairHolds(f.procedure, f.make);
}
