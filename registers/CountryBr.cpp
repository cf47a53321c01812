// The country list: four orders with a locator each, the country form for
// Insert, Change and Delete, and Select for the name form's lookup, which
// opens at the country name it was given.
#include "registers/CountryBr.h"

#include "data/Dictionary.h"
#include "platform/BrowseList.h"
#include "registers/CountryFr.h"

namespace ven {
namespace {

const WindowDef kCountryBrDef{
    .title = "Countries",
    .w = 261,
    .h = 183,
    .icon = "world.ico",
    .controls = {
        {.name = "Sheet", .kind = Kind::Sheet, .x = 4, .y = 4, .w = 253, .h = 152},
        {.name = "NumberTab", .kind = Kind::Tab, .text = "Number Order", .parent = "Sheet"},
        {.name = "AbbrTab", .kind = Kind::Tab, .text = "Abbreviation", .parent = "Sheet"},
        {.name = "TelTab", .kind = Kind::Tab, .text = "Country Code", .parent = "Sheet"},
        {.name = "NameTab", .kind = Kind::Tab, .text = "Name Order", .parent = "Sheet"},
        {.name = "List", .kind = Kind::List, .x = 8, .y = 20, .w = 245, .h = 132},
        {.name = "Select", .kind = Kind::Button, .text = "&Select", .x = 4, .y = 162, .w = 38, .h = 14, .flags = Hidden},
        {.name = "Insert", .kind = Kind::Button, .text = "&Insert", .x = 47, .y = 162, .w = 38, .h = 14, .flags = Default},
        {.name = "Change", .kind = Kind::Button, .text = "&Change", .x = 90, .y = 162, .w = 38, .h = 14},
        {.name = "Delete", .kind = Kind::Button, .text = "&Delete", .x = 133, .y = 162, .w = 38, .h = 14},
        {.name = "Close", .kind = Kind::Button, .text = "Close", .x = 176, .y = 162, .w = 38, .h = 14,
         .closes = RequestCancelled},
        {.name = "Help", .kind = Kind::Button, .text = "Help", .x = 219, .y = 162, .w = 38, .h = 14, .flags = HelpButton},
    }};

// Tab by tab: the order and the field its locator types into.
const std::pair<int, uint16_t> kOrders[] = {
    {CNT::NUMBER_KEY, CNT::NUMBER}, {CNT::ABBR_KEY, CNT::ABBR}, {CNT::TEL_KEY, CNT::TEL}, {CNT::NAME_KEY, CNT::NAME}};
constexpr int kNameTab = 4;

class CountryBr : public WindowController {
public:
    CountryBr() : WindowController(QStringLiteral("CountryBr"), kCountryBrDef) {}

protected:
    bool setUp() override
    {
        // A lookup opens at the name its caller put in the buffer.
        if (REQUEST == SelectRecord)
            primed_ = file(VenCountry).rec().str(CNT::NAME).trimmed();
        auto list = std::make_unique<BrowseList>(*this, VenCountry,
                                                 std::vector<BrowseColumn>{
                                                     BrowseColumn::ofField(CNT::NAME, "Name", 110, "s31"),
                                                     BrowseColumn::ofField(CNT::ABBR, "Zip", 30, "s6"),
                                                     BrowseColumn::ofField(CNT::NETSUFFIX, "Net", 26, "s5"),
                                                     BrowseColumn::ofField(CNT::TEL, "Tel", 30, "s6"),
                                                     BrowseColumn::ofField(CNT::NUMBER, "Order", 30, "n_6B"),
                                                 });
        for (const auto& [key, field] : kOrders)
            list->addOrder(key, field);
        list->setSheet(QStringLiteral("Sheet"));
        list->setForm([] { return makeCountryFr({}); });
        list_ = list.get();
        addPart(std::move(list));
        return true;
    }

    void windowEvent(Event e) override
    {
        WindowController::windowEvent(e);
        if (e == Event::OpenWindow && !primed_.isEmpty()) {
            window().chooseTab(QStringLiteral("Sheet"), kNameTab);
            list_->locate(primed_);
        }
    }

private:
    BrowseList* list_ = nullptr;
    QString primed_;
};

} // namespace

std::unique_ptr<WindowController> makeCountryBr(const QString&)
{
    return std::make_unique<CountryBr>();
}

} // namespace ven
