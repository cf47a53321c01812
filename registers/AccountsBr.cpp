#include "registers/AccountsBr.h"

#include "data/Dictionary.h"
#include "registers/Accounts.h"
#include "registers/AccountsFr.h"

namespace ven {
namespace {

const WindowDef kAccountsBrDef{
    .title = "Browse Accounts",
    .w = 240,
    .h = 191,
    .icon = "Money.ico",
    .controls = {
        {.name = "Sheet", .kind = Kind::Sheet, .x = 4, .y = 4, .w = 232, .h = 162},
        {.name = "Tab", .kind = Kind::Tab, .text = "Accounts:", .parent = "Sheet"},
        {.name = "List", .kind = Kind::List, .x = 8, .y = 20, .w = 224, .h = 142},
        {.name = "Select", .kind = Kind::Button, .text = "&Select", .x = 4, .y = 172, .w = 36, .h = 14},
        {.name = "Insert", .kind = Kind::Button, .text = "&Insert", .x = 43, .y = 172, .w = 36, .h = 14},
        {.name = "Change", .kind = Kind::Button, .text = "&Change", .x = 82, .y = 172, .w = 36, .h = 14, .flags = Default},
        {.name = "Delete", .kind = Kind::Button, .text = "&Delete", .x = 121, .y = 172, .w = 36, .h = 14},
        {.name = "Close", .kind = Kind::Button, .text = "Close", .x = 161, .y = 172, .w = 36, .h = 14,
         .closes = RequestCancelled},
        {.name = "Help", .kind = Kind::Button, .text = "Help", .x = 200, .y = 172, .w = 36, .h = 14, .flags = HelpButton},
    }};

class AccountsBr : public WindowController {
public:
    AccountsBr() : WindowController(QStringLiteral("AccountsBr"), kAccountsBrDef) { helpTopic = QStringLiteral("SetUpAccBr"); }

protected:
    bool setUp() override
    {
        if (!openFile(VenAcc))
            return false;
        auto list = accountList(*this);
        list->addOrder(ACC::ACCOUNT_KEY, ACC::TYPE);
        // Accounts numbered 99 and above are kept out of this list.
        setListFilter(*list, VenAcc, QStringLiteral("(Acc:Number < 99)"));
        list->setForm([] { return makeAccountsFr(); });
        addPart(std::move(list));
        return true;
    }
};

} // namespace

std::unique_ptr<WindowController> makeAccountsBr(const QString&) { return std::make_unique<AccountsBr>(); }

} // namespace ven
