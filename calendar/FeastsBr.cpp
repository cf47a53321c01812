// The feasts list: three columns edited in place, Copy as the default
// button, and the button that writes the feasts' import files.
#include "calendar/FeastsBr.h"

#include "calendar/FeastDays.h"
#include "calendar/MakeLitImportPr.h"
#include "data/Dictionary.h"
#include "platform/BrowseList.h"

namespace ven {
namespace {

const WindowDef kFeastsBrDef{
    .title = "Browse Canonical Feasts",
    .w = 300,
    .h = 200,
    .icon = "Calender.ico",
    .controls = {
        {.name = "Sheet", .kind = Kind::Sheet, .x = 4, .y = 4, .w = 292, .h = 170},
        {.name = "Feasts", .kind = Kind::Tab, .text = "Feasts", .parent = "Sheet"},
        {.name = "List", .kind = Kind::List, .x = 8, .y = 20, .w = 284, .h = 150},
        {.name = "Select", .kind = Kind::Button, .text = "&Select", .x = 4, .y = 180, .w = 33, .h = 14},
        {.name = "Insert", .kind = Kind::Button, .text = "&Insert", .x = 39, .y = 180, .w = 33, .h = 14},
        {.name = "Copy", .kind = Kind::Button, .text = "C&opy", .x = 74, .y = 180, .w = 33, .h = 14, .tip = "Copy Record",
         .flags = Default},
        {.name = "Change", .kind = Kind::Button, .text = "&Change", .x = 109, .y = 180, .w = 33, .h = 14},
        {.name = "Delete", .kind = Kind::Button, .text = "&Delete", .x = 144, .y = 180, .w = 33, .h = 14},
        {.name = "Import", .kind = Kind::Button, .x = 179, .y = 180, .w = 22, .h = 14,
         .tip = "Make Import Files for Legacy Program MINDREEL.EXE", .icon = "Files3.ico"},
        {.name = "Close", .kind = Kind::Button, .text = "Close", .x = 228, .y = 180, .w = 33, .h = 14,
         .closes = RequestCancelled},
        {.name = "Help", .kind = Kind::Button, .text = "Help", .x = 263, .y = 180, .w = 33, .h = 14, .flags = HelpButton},
    }};

// A new row is held unstored while only its language is typed: its feast
// code comes next. Otherwise a row that the key would lose is refused.
BrowseList::RowVerdict feastRow(const Record& r, uint16_t field, bool newRow)
{
    using V = BrowseList::RowVerdict;
    if (r.num(LIT::FEAST) != 0 || r.num(LIT::LANGUAGE) != 0)
        return V::Store;
    if (newRow && field == LIT::LANGUAGE)
        return V::Hold;
    return feastKeyUsable(r) ? V::Store : V::Refuse;
}

class FeastsBr : public WindowController {
public:
    FeastsBr() : WindowController(QStringLiteral("FeastsBr"), kFeastsBrDef) {}

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
        list->setEditInPlace(true);
        list->setStoreCheck(feastRow);
        list->addPopupItem(QStringLiteral("C&opy"), QStringLiteral("Copy"));
        list_ = list.get();
        addPart(std::move(list));
        return true;
    }

    void accepted(const QString& c) override
    {
        if (c == QLatin1String("Import")) {
            list_->loadHighlighted();
            start([] { return makeMakeLitImportPr({}); });
            list_->refresh();
            return;
        }
        WindowController::accepted(c);
    }

private:
    BrowseList* list_ = nullptr;
};

} // namespace

std::unique_ptr<WindowController> makeFeastsBr(const QString&)
{
    return std::make_unique<FeastsBr>();
}

} // namespace ven
