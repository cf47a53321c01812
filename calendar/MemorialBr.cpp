// The memorial-days list: the computed day and month, the level, names and
// day number edited in place, Copy as the default button, and the button
// that writes the memorial days' import files.
#include "calendar/MemorialBr.h"

#include "calendar/FeastDays.h"
#include "calendar/MindreelMemorials.h"
#include "data/Dictionary.h"
#include "platform/BrowseList.h"

namespace ven {
namespace {

const WindowDef kMemorialBrDef{
    .title = "Memorial Days",
    .w = 300,
    .h = 200,
    .icon = "Calender.ico",
    .controls = {
        {.name = "Sheet", .kind = Kind::Sheet, .x = 4, .y = 4, .w = 292, .h = 170},
        {.name = "Days", .kind = Kind::Tab, .text = "Days", .parent = "Sheet"},
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

// A new row is held unstored until its day number is typed (or Enter
// stores it as it stands); the range check judges it when it is stored.
BrowseList::RowVerdict memorialRow(const Record& r, uint16_t field, bool newRow)
{
    using V = BrowseList::RowVerdict;
    const int64_t day = r.num(AST::DAYNO);
    const bool cell = field != AST::DAYNO && field != BrowseList::kWholeRow;
    return newRow && cell && (day < 1 || day > 366) ? V::Hold : V::Store;
}

class MemorialBr : public WindowController {
public:
    MemorialBr() : WindowController(QStringLiteral("MemorialBr"), kMemorialBrDef) {}

protected:
    bool setUp() override
    {
        using C = BrowseColumn;
        C date = C::computed("Date", 22, "s4", [](const Record& r) { return QVariant(memorialDayMonth(r.num(AST::DAYNO))); });
        auto list = std::make_unique<BrowseList>(*this, VenSaint,
                                                 std::vector<C>{date, C::ofField(AST::LEVEL, "#", 14, "n2"),
                                                                C::ofField(AST::NAMES, "Names", 200, "s80"),
                                                                C::ofField(AST::DAYNO, "Day#", 24, "n03B")});
        list->addOrder(AST::SAINTS_KEY, AST::DAYNO);
        list->setSheet(QStringLiteral("Sheet"));
        list->setEditInPlace(true);
        list->setStoreCheck(memorialRow);
        list->addPopupItem(QStringLiteral("C&opy"), QStringLiteral("Copy"));
        list_ = list.get();
        addPart(std::move(list));
        return true;
    }

    void accepted(const QString& c) override
    {
        if (c == QLatin1String("Import")) {
            list_->loadHighlighted();
            start([] { return makeMindreelMemorials({}); });
            list_->refresh();
            return;
        }
        WindowController::accepted(c);
    }

private:
    BrowseList* list_ = nullptr;
};

} // namespace

std::unique_ptr<WindowController> makeMemorialBr(const QString&)
{
    return std::make_unique<MemorialBr>();
}

} // namespace ven
