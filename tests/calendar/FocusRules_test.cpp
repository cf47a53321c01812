// The calendar forms whose rules take the focus back when it leaves a field
// (a contact number looked up and declined, a refused date or time, a lookup
// closed unchosen): clicking from each field into every other one, with a
// value typed first, ends with the form open and working.
#include "WindowKit.h"
#include "calendar/DiaryFr.h"
#include "calendar/ProjectFr.h"
#include "calendar/UpdateVenAlarm.h"

using namespace ven;
using namespace ven::test;

TEST(FocusRules, ClicksBetweenEveryPairOfFieldsLeaveEachCalendarFormWorking)
{
    struct Form {
        const char* procedure;
        std::unique_ptr<WindowController> (*make)();
    };
    const Form forms[] = {
        {"DiaryFr", [] { return makeDiaryFr({}); }},
        {"UpdateVenAlarm", [] { return makeUpdateVenAlarm({}); }},
        {"ProjectFr", [] { return makeProjectFr({}); }},
    };
    for (const Form& f : forms)
        expectEveryFocusPairHolds(f.procedure, f.make);
}
