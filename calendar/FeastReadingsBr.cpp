// The feasts for their readings: the feasts list's columns, Change opening
// the readings form.
#include "calendar/FeastReadingsBr.h"

#include "calendar/FeastReadingsFr.h"
#include "data/Dictionary.h"
#include "platform/BrowseList.h"

namespace ven {
namespace {

const WindowDef kFeastReadingsBrDef{
    .title = "Browse Canonical Feasts",
    .w = 300,
    .h = 200,
    .icon = "Calender.ico",
    .controls = {
        {.name = "Sheet", .kind = Kind::Sheet, .x = 4, .y = 4, .w = 292, .h = 170},
        {.name = "Feasts", .kind = Kind::Tab, .text = "Feasts", .parent = "Sheet"},
        {.name = "List", .kind = Kind::List, .x = 8, .y = 20, .w = 284, .h = 150},
        {.name = "Change", .kind = Kind::Button, .text = "&Change", .x = 193, .y = 180, .w = 33, .h = 14, .flags = Default},
        {.name = "Close", .kind = Kind::Button, .text = "Close", .x = 228, .y = 180, .w = 33, .h = 14,
         .closes = RequestCancelled},
        {.name = "Help", .kind = Kind::Button, .text = "Help", .x = 263, .y = 180, .w = 33, .h = 14, .flags = HelpButton},
    }};

class FeastReadingsBr : public WindowController {
public:
    FeastReadingsBr() : WindowController(QStringLiteral("FeastReadingsBr"), kFeastReadingsBrDef) {}

protected:
    bool setUp() override
    {
        using C = BrowseColumn;
        auto list = std::make_unique<BrowseList>(*this, VenLit,
                                                 std::vector<C>{C::ofField(LIT::LANGUAGE, "L", 14, "n2"),
                                                                C::ofField(LIT::FEAST, "Feast", 24, "N03"),
                                                                C::ofField(LIT::NAME, "Name", 230, "s80")});
        list->addOrder(LIT::LIT_KEY, LIT::FEAST);
        list->setSheet(QStringLiteral("Sheet"));
        list->setForm([] { return makeFeastReadingsFr({}); });
        addPart(std::move(list));
        return true;
    }
};

} // namespace

std::unique_ptr<WindowController> makeFeastReadingsBr(const QString&)
{
    return std::make_unique<FeastReadingsBr>();
}

} // namespace ven
