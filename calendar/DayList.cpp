// The feasts and memorial-days lists: FeastsBr and MemorialBr edit the rows
// in place, FeastReadingsBr and SaintReadingsBr open their readings forms.
// Each procedure's file holds its spec; this is the one window they share.
#include "calendar/DayList.h"

#include "calendar/FeastDays.h"
#include "data/Dictionary.h"

namespace ven {
namespace {

WindowDef dayListDef(const DayListSpec& s)
{
    std::vector<ControlDef> c = {
        {.name = "Sheet", .kind = Kind::Sheet, .x = 4, .y = 4, .w = 292, .h = 170},
        {.name = s.tab, .kind = Kind::Tab, .text = s.tab, .parent = "Sheet"},
        {.name = "List", .kind = Kind::List, .x = 8, .y = 20, .w = 284, .h = 150},
    };
    if (s.inPlace) {
        c.insert(c.end(), {
            {.name = "Select", .kind = Kind::Button, .text = "&Select", .x = 4, .y = 180, .w = 33, .h = 14},
            {.name = "Insert", .kind = Kind::Button, .text = "&Insert", .x = 39, .y = 180, .w = 33, .h = 14},
            {.name = "Copy", .kind = Kind::Button, .text = "C&opy", .x = 74, .y = 180, .w = 33, .h = 14,
             .tip = "Copy Record", .flags = Default},
            {.name = "Change", .kind = Kind::Button, .text = "&Change", .x = 109, .y = 180, .w = 33, .h = 14},
            {.name = "Delete", .kind = Kind::Button, .text = "&Delete", .x = 144, .y = 180, .w = 33, .h = 14},
            {.name = "Import", .kind = Kind::Button, .x = 179, .y = 180, .w = 22, .h = 14,
             .tip = "Make Import Files for Legacy Program MINDREEL.EXE", .icon = "Files3.ico"},
        });
    } else {
        c.push_back({.name = "Change", .kind = Kind::Button, .text = "&Change", .x = 193, .y = 180, .w = 33, .h = 14,
                     .flags = Default});
    }
    c.insert(c.end(), {
        {.name = "Close", .kind = Kind::Button, .text = "Close", .x = 228, .y = 180, .w = 33, .h = 14,
         .closes = RequestCancelled},
        {.name = "Help", .kind = Kind::Button, .text = "Help", .x = 263, .y = 180, .w = 33, .h = 14, .flags = HelpButton},
    });
    return WindowDef{.title = s.title, .w = 300, .h = 200, .icon = "Calender.ico", .controls = std::move(c)};
}

class DayList : public WindowController {
public:
    explicit DayList(const DayListSpec& s) : WindowController(QString::fromUtf8(s.procedure), dayListDef(s)), spec_(s) {}

protected:
    bool setUp() override
    {
        auto list = std::make_unique<BrowseList>(*this, spec_.file, spec_.columns());
        list->addOrder(spec_.key, spec_.orderField);
        list->setSheet(QStringLiteral("Sheet"));
        if (spec_.inPlace) {
            list->setEditInPlace(true);
            if (spec_.storeCheck)
                list->setStoreCheck(spec_.storeCheck);
            list->addPopupItem(QStringLiteral("C&opy"), QStringLiteral("Copy"));
        } else {
            auto* form = spec_.form;
            list->setForm([form] { return form({}); });
        }
        list_ = list.get();
        addPart(std::move(list));
        return true;
    }

    void accepted(const QString& c) override
    {
        if (spec_.importer && c == QLatin1String("Import")) {
            list_->loadHighlighted();
            auto* importer = spec_.importer;
            start([importer] { return importer({}); });
            list_->refresh();
            return;
        }
        WindowController::accepted(c);
    }

private:
    const DayListSpec& spec_;
    BrowseList* list_ = nullptr;
};

} // namespace

std::unique_ptr<WindowController> makeDayList(const DayListSpec& spec)
{
    return std::make_unique<DayList>(spec);
}

std::vector<BrowseColumn> feastColumns()
{
    using C = BrowseColumn;
    BrowseColumn name = C::ofField(LIT::NAME, "Name", 230, "s80");
    name.required = true;  // a feast without its name writes empty reminders
    return {C::ofField(LIT::LANGUAGE, "L", 14, "n2"), C::ofField(LIT::FEAST, "Feast", 24, "N03"), name};
}

BrowseColumn memorialDateColumn()
{
    return BrowseColumn::computed("Date", 22, "s4",
                                  [](const Record& r) { return QVariant(memorialDayMonth(r.num(AST::DAYNO))); });
}

} // namespace ven
