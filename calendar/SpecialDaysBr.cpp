// The special-days list: every record, chronologically, with its kind.
#include "calendar/SpecialDaysBr.h"

#include "calendar/SpecialDayRules.h"
#include "calendar/SpecialDaysFr.h"
#include "data/Dictionary.h"
#include "platform/BrowseList.h"

namespace ven {
namespace {

const WindowDef kSpecialDaysBrDef{
    .title = "Browse Special Days",
    .w = 217,
    .h = 151,
    .icon = "calender.ico",
    .mdi = true,
    .resizable = true,
    .controls = {
        {.name = "Sheet", .kind = Kind::Sheet, .x = 4, .y = 4, .w = 209, .h = 124},
        {.name = "Chronologically", .kind = Kind::Tab, .text = "Chronologically", .parent = "Sheet"},
        {.name = "List", .kind = Kind::List, .x = 8, .y = 20, .w = 201, .h = 104},
        {.name = "Insert", .kind = Kind::Button, .text = "&Insert", .x = 4, .y = 133, .w = 40, .h = 14},
        {.name = "Change", .kind = Kind::Button, .text = "&Change", .x = 46, .y = 133, .w = 40, .h = 14, .flags = Default},
        {.name = "Delete", .kind = Kind::Button, .text = "&Delete", .x = 88, .y = 133, .w = 40, .h = 14},
        {.name = "Close", .kind = Kind::Button, .text = "Close", .x = 130, .y = 133, .w = 40, .h = 14,
         .closes = RequestCancelled},
        {.name = "Help", .kind = Kind::Button, .text = "Help", .x = 172, .y = 133, .w = 40, .h = 14, .flags = HelpButton},
    }};

class SpecialDaysBr : public WindowController {
public:
    SpecialDaysBr() : WindowController(QStringLiteral("SpecialDaysBr"), kSpecialDaysBrDef) {}

protected:
    bool setUp() override
    {
        using C = BrowseColumn;
        auto list = std::make_unique<BrowseList>(
            *this, VenDays,
            std::vector<BrowseColumn>{
                C::ofField(DAY::DATE, "Date", 46, "D06-B"),
                C::computed("Calc", 22, "s4", [](const Record& r) { return QVariant(showName(r.num(DAY::SHOW))); }),
                C::ofField(DAY::NAME, "Name", 56, "s12"),
                C::ofField(DAY::DAYSB, "Before", 30, "N-_6B"),
                C::ofField(DAY::DAYSA, "After", 30, "n-_6B"),
            });
        list->addOrder(DAY::DATE_KEY, DAY::DATE);
        list->setSheet(QStringLiteral("Sheet"));
        list->setForm([] { return makeSpecialDaysFr(); });
        addPart(std::move(list));
        return true;
    }
};

} // namespace

std::unique_ptr<WindowController> makeSpecialDaysBr(const QString&)
{
    return std::make_unique<SpecialDaysBr>();
}

} // namespace ven
