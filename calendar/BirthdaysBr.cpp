// The anniversaries list: two orders, each with its locator.
#include "calendar/BirthdaysBr.h"

#include "calendar/BirthFr.h"
#include "data/Dictionary.h"
#include "platform/BrowseList.h"

namespace ven {
namespace {

const WindowDef kBirthdaysBrDef{
    .title = "Anniversaries",
    .w = 260,
    .h = 170,
    .icon = "calender.ico",
    .mdi = true,
    .resizable = true,
    .controls = {
        {.name = "Sheet", .kind = Kind::Sheet, .x = 4, .y = 4, .w = 252, .h = 142},
        {.name = "DayTab", .kind = Kind::Tab, .text = "Day", .parent = "Sheet"},
        {.name = "NumberTab", .kind = Kind::Tab, .text = "Number", .parent = "Sheet"},
        {.name = "List", .kind = Kind::List, .x = 8, .y = 20, .w = 244, .h = 122},
        {.name = "Select", .kind = Kind::Button, .text = "&Select", .x = 4, .y = 151, .w = 40, .h = 14},
        {.name = "Insert", .kind = Kind::Button, .text = "&Insert", .x = 46, .y = 151, .w = 40, .h = 14},
        {.name = "Change", .kind = Kind::Button, .text = "&Change", .x = 88, .y = 151, .w = 40, .h = 14, .flags = Default},
        {.name = "Delete", .kind = Kind::Button, .text = "&Delete", .x = 130, .y = 151, .w = 40, .h = 14},
        {.name = "Close", .kind = Kind::Button, .text = "Close", .x = 172, .y = 151, .w = 40, .h = 14,
         .closes = RequestCancelled},
        {.name = "Help", .kind = Kind::Button, .text = "Help", .x = 214, .y = 151, .w = 40, .h = 14, .flags = HelpButton},
    }};

class BirthdaysBr : public WindowController {
public:
    BirthdaysBr() : WindowController(QStringLiteral("BirthdaysBr"), kBirthdaysBrDef) {}

protected:
    bool setUp() override
    {
        using C = BrowseColumn;
        auto list = std::make_unique<BrowseList>(*this, VenBirth,
                                                 std::vector<BrowseColumn>{
                                                     C::ofField(BTH::DAYNO, "Day", 18, "n03"),
                                                     C::ofField(BTH::LINE, "L", 8, "n1"),
                                                     C::ofField(BTH::NAME, "Anniversary", 110, "s39"),
                                                     C::ofField(BTH::DATE, "Date", 44, "D06-B"),
                                                     C::ofField(BTH::CLINO, "Client #", 34, "n06B"),
                                                 });
        list->addOrder(BTH::DAYNO_KEY, BTH::DAYNO);
        list->addOrder(BTH::NUMBER_KEY, BTH::CLINO);
        list->setSheet(QStringLiteral("Sheet"));
        list->setForm([] { return makeBirthFr(); });
        addPart(std::move(list));
        if (Status st = openFile(VenNam); !st)
            return false;
        return true;
    }
};

} // namespace

std::unique_ptr<WindowController> makeBirthdaysBr(const QString&)
{
    return std::make_unique<BirthdaysBr>();
}

} // namespace ven
