// The user browse: the users by name with a locator, and the user form for
// Insert, Change and Delete.
#include "core/UserBr.h"

#include "core/UserFr.h"
#include "data/Dictionary.h"
#include "platform/BrowseList.h"

namespace ven {
namespace {

const WindowDef kUserBrDef{
    .title = "Browse Users",
    .w = 200,
    .h = 160,
    .controls = {
        {.name = "Sheet", .kind = Kind::Sheet, .x = 4, .y = 4, .w = 192, .h = 130},
        {.name = "Alphabetical", .kind = Kind::Tab, .text = "Alphabetical order", .parent = "Sheet"},
        {.name = "List", .kind = Kind::List, .x = 8, .y = 20, .w = 184, .h = 110},
        {.name = "Insert", .kind = Kind::Button, .text = "&Insert", .x = 4, .y = 140, .w = 36, .h = 14},
        {.name = "Change", .kind = Kind::Button, .text = "&Change", .x = 43, .y = 140, .w = 36, .h = 14, .flags = Default},
        {.name = "Delete", .kind = Kind::Button, .text = "&Delete", .x = 82, .y = 140, .w = 36, .h = 14},
        {.name = "Close", .kind = Kind::Button, .text = "Close", .x = 121, .y = 140, .w = 36, .h = 14,
         .closes = RequestCancelled},
        {.name = "Help", .kind = Kind::Button, .text = "Help", .x = 160, .y = 140, .w = 36, .h = 14, .flags = HelpButton},
    }};

class UserBr : public WindowController {
public:
    UserBr() : WindowController(QStringLiteral("UserBr"), kUserBrDef) {}

protected:
    bool setUp() override
    {
        auto list = std::make_unique<BrowseList>(*this, VenUsr,
                                                 std::vector<BrowseColumn>{BrowseColumn::ofField(USR::NAME, "Name", 160, "s39")});
        list->addOrder(USR::NAME_KEY, USR::NAME);
        list->setSheet(QStringLiteral("Sheet"));
        list->setForm([] { return makeUserFr({}); });
        addPart(std::move(list));
        return true;
    }
};

} // namespace

std::unique_ptr<WindowController> makeUserBr(const QString&)
{
    return std::make_unique<UserBr>();
}

} // namespace ven
