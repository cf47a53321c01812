#include "registers/AccSelBr.h"

#include "core/Globals.h"
#include "data/Dictionary.h"
#include "registers/Accounts.h"

namespace ven {
namespace {

const WindowDef kAccSelBrDef{
    .title = "Select an Account",
    .w = 216,
    .h = 188,
    .icon = "Money.ico",
    .controls = {
        {.name = "Sheet", .kind = Kind::Sheet, .x = 4, .y = 4, .w = 208, .h = 160},
        {.name = "Tab", .kind = Kind::Tab, .text = "Accounts:", .parent = "Sheet"},
        {.name = "List", .kind = Kind::List, .x = 8, .y = 20, .w = 200, .h = 140},
        {.name = "Select", .kind = Kind::Button, .text = "&Select", .x = 96, .y = 170, .w = 36, .h = 14, .flags = Default},
        {.name = "Close", .kind = Kind::Button, .text = "Close", .x = 136, .y = 170, .w = 36, .h = 14,
         .closes = RequestCancelled},
        {.name = "Help", .kind = Kind::Button, .text = "Help", .x = 176, .y = 170, .w = 36, .h = 14, .flags = HelpButton},
    }};

class AccSelBr : public WindowController {
public:
    AccSelBr() : WindowController(QStringLiteral("AccSelBr"), kAccSelBrDef) { helpTopic = QStringLiteral("SelectVenAcc"); }

protected:
    bool setUp() override
    {
        if (!openFile(VenAcc))
            return false;
        auto list = accountList(*this);
        list->addOrder(ACC::ACCOUNT_KEY);
        const QString type = AccType.trimmed().left(1);
        setListFilter(*list, VenAcc, QStringLiteral("(Acc:Type = G:AccType)"), {{QStringLiteral("G:AccType"), type}});
        // The type's accounts only, read as one stretch of the key.
        list->setRange(ACC::TYPE, Value(type));
        addPart(std::move(list));
        return true;
    }
};

} // namespace

std::unique_ptr<WindowController> makeAccSelBr(const QString&) { return std::make_unique<AccSelBr>(); }

} // namespace ven
