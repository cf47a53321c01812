// The memorial days for their readings: day number, level, names and the
// computed day and month, Change opening the readings form.
#include "calendar/SaintReadingsBr.h"

#include "calendar/FeastDays.h"
#include "calendar/SaintReadingsFr.h"
#include "data/Dictionary.h"
#include "platform/BrowseList.h"

namespace ven {
namespace {

const WindowDef kSaintReadingsBrDef{
    .title = "Memorial Days",
    .w = 300,
    .h = 200,
    .icon = "Calender.ico",
    .controls = {
        {.name = "Sheet", .kind = Kind::Sheet, .x = 4, .y = 4, .w = 292, .h = 170},
        {.name = "Days", .kind = Kind::Tab, .text = "Days", .parent = "Sheet"},
        {.name = "List", .kind = Kind::List, .x = 8, .y = 20, .w = 284, .h = 150},
        {.name = "Change", .kind = Kind::Button, .text = "&Change", .x = 193, .y = 180, .w = 33, .h = 14, .flags = Default},
        {.name = "Close", .kind = Kind::Button, .text = "Close", .x = 228, .y = 180, .w = 33, .h = 14,
         .closes = RequestCancelled},
        {.name = "Help", .kind = Kind::Button, .text = "Help", .x = 263, .y = 180, .w = 33, .h = 14, .flags = HelpButton},
    }};

class SaintReadingsBr : public WindowController {
public:
    SaintReadingsBr() : WindowController(QStringLiteral("SaintReadingsBr"), kSaintReadingsBrDef) {}

protected:
    bool setUp() override
    {
        using C = BrowseColumn;
        C date = C::computed("Date", 22, "s4", [](const Record& r) { return QVariant(memorialDayMonth(r.num(AST::DAYNO))); });
        auto list = std::make_unique<BrowseList>(*this, VenSaint,
                                                 std::vector<C>{C::ofField(AST::DAYNO, "Day", 24, "n03B"),
                                                                C::ofField(AST::LEVEL, "#", 14, "n2"),
                                                                C::ofField(AST::NAMES, "Names", 200, "s80"), date});
        list->addOrder(AST::SAINTS_KEY, AST::DAYNO);
        list->setSheet(QStringLiteral("Sheet"));
        list->setForm([] { return makeSaintReadingsFr({}); });
        addPart(std::move(list));
        return true;
    }
};

} // namespace

std::unique_ptr<WindowController> makeSaintReadingsBr(const QString&)
{
    return std::make_unique<SaintReadingsBr>();
}

} // namespace ven
