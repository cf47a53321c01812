// The daylight-saving list: each change with its weekday.
#include "calendar/DLS_Br.h"

#include "calendar/DLS_Fr.h"
#include "core/DateHelpers.h"
#include "data/Dictionary.h"
#include "platform/BrowseList.h"

namespace ven {
namespace {

const WindowDef kDLS_BrDef{
    .title = "Browse DLS",
    .w = 200,
    .h = 140,
    .icon = "calender.ico",
    .mdi = true,
    .resizable = true,
    .controls = {
        {.name = "Sheet", .kind = Kind::Sheet, .x = 4, .y = 4, .w = 192, .h = 112},
        {.name = "DlsTab", .kind = Kind::Tab, .text = "DLS", .parent = "Sheet"},
        {.name = "List", .kind = Kind::List, .x = 8, .y = 20, .w = 184, .h = 92},
        {.name = "Insert", .kind = Kind::Button, .text = "&Insert", .x = 4, .y = 121, .w = 36, .h = 14},
        {.name = "Change", .kind = Kind::Button, .text = "&Change", .x = 43, .y = 121, .w = 36, .h = 14, .flags = Default},
        {.name = "Delete", .kind = Kind::Button, .text = "&Delete", .x = 82, .y = 121, .w = 36, .h = 14},
        {.name = "Close", .kind = Kind::Button, .text = "Close", .x = 121, .y = 121, .w = 36, .h = 14,
         .closes = RequestCancelled},
        {.name = "Help", .kind = Kind::Button, .text = "Help", .x = 160, .y = 121, .w = 36, .h = 14, .flags = HelpButton},
    }};

class DLS_Br : public WindowController {
public:
    DLS_Br() : WindowController(QStringLiteral("DLS_Br"), kDLS_BrDef) {}

protected:
    bool setUp() override
    {
        using C = BrowseColumn;
        auto list = std::make_unique<BrowseList>(
            *this, Ven_DLS,
            std::vector<BrowseColumn>{
                C::computed("", 16, "s3",
                            [](const Record& r) { return QVariant(WeekdayName(int32_t(r.num(DLS::DATE))).left(3)); }),
                C::ofField(DLS::DATE, "Date", 44, "D06-B"),
                C::ofField(DLS::TIME, "Time", 30, "T01B"),
                C::ofField(DLS::CHANGE, "Change", 34, "T1."),
                C::ofField(DLS::PLUSMINUS, QString::fromUtf8("\u00b1"), 10, "s1"),
            });
        list->addOrder(DLS::DATE_KEY, DLS::DATE);
        list->setForm([] { return makeDLS_Fr(); });
        addPart(std::move(list));
        return true;
    }
};

} // namespace

std::unique_ptr<WindowController> makeDLS_Br(const QString&)
{
    return std::make_unique<DLS_Br>();
}

} // namespace ven
