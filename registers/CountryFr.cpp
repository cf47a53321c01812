// The country form. A country stored without a sort order would be missing
// from the list's number order (its key leaves out zero), so OK gives it the
// next free place after the highest one.
#include "registers/CountryFr.h"

#include "data/Dictionary.h"
#include "platform/Numbering.h"
#include "platform/RecordForm.h"

namespace ven {
namespace {

// The sort order is a SHORT: its spin stops at the field's largest value.
constexpr int64_t kLastOrder = 32767;

const WindowDef kCountryFrDef{
    .title = "Update Country Record",
    .w = 197,
    .h = 110,
    .icon = "world.ico",
    .controls = {
        {.name = "Sheet", .kind = Kind::Sheet, .x = 4, .y = 4, .w = 189, .h = 82},
        {.name = "Country", .kind = Kind::Tab, .text = "Country", .parent = "Sheet"},
        {.name = "NamePrompt", .kind = Kind::Prompt, .text = "Name:", .x = 10, .y = 22, .w = 46, .h = 10, .parent = "Country"},
        {.name = "Name", .kind = Kind::Entry, .x = 60, .y = 22, .w = 126, .h = 10, .parent = "Country", .picture = "s31",
         .use = "CNT:NAME", .flags = Required | Capitalize},
        {.name = "AbbrPrompt", .kind = Kind::Prompt, .text = "Zip Prefix:", .x = 10, .y = 35, .w = 46, .h = 10, .parent = "Country"},
        {.name = "Abbr", .kind = Kind::Entry, .x = 60, .y = 35, .w = 30, .h = 10, .parent = "Country", .picture = "s6",
         .use = "CNT:ABBR", .flags = Required | Upper},
        {.name = "NetPrompt", .kind = Kind::Prompt, .text = "Net Suffix:", .x = 10, .y = 48, .w = 46, .h = 10, .parent = "Country"},
        {.name = "Net", .kind = Kind::Entry, .x = 60, .y = 48, .w = 26, .h = 10, .parent = "Country", .picture = "s5",
         .use = "CNT:NETSUFFIX"},
        {.name = "TelPrompt", .kind = Kind::Prompt, .text = "Tel. Prefix:", .x = 10, .y = 61, .w = 46, .h = 10, .parent = "Country"},
        {.name = "Tel", .kind = Kind::Entry, .x = 60, .y = 61, .w = 30, .h = 10, .parent = "Country", .picture = "s6",
         .use = "CNT:TEL", .flags = Required},
        {.name = "NumberPrompt", .kind = Kind::Prompt, .text = "Sort Order:", .x = 100, .y = 61, .w = 40, .h = 10, .parent = "Country"},
        {.name = "Number", .kind = Kind::Spin, .x = 142, .y = 61, .w = 44, .h = 11, .parent = "Country", .picture = "n6B",
         .use = "CNT:NUMBER", .low = 1, .high = kLastOrder},
        {.name = "OK", .kind = Kind::Button, .text = "OK", .x = 58, .y = 92, .w = 42, .h = 14, .flags = Default},
        {.name = "Cancel", .kind = Kind::Button, .text = "Cancel", .x = 104, .y = 92, .w = 42, .h = 14,
         .closes = RequestCancelled},
        {.name = "Help", .kind = Kind::Button, .text = "Help", .x = 150, .y = 92, .w = 42, .h = 14, .flags = HelpButton},
    }};

const std::pair<uint8_t, const char*> kTitles[] = {{InsertRecord, "Adding a Country Record"},
                                                   {ChangeRecord, "Changing a Country Record"},
                                                   {DeleteRecord, "Deleting a Country Record"}};

class CountryFr : public RecordForm {
public:
    CountryFr() : RecordForm(QStringLiteral("CountryFr"), kCountryFrDef, VenCountry)
    {
        FIRSTFIELD = QStringLiteral("Name");
        setTitles(kTitles);
    }

protected:
    void accepted(const QString& c) override
    {
        if (c == OKCONTROL && REQUEST != DeleteRecord) {
            Window& w = window();
            // A typed order that cannot be taken was told (Range Error) and
            // stays to be mended.
            if (!w.update(QStringLiteral("Number"))) {
                control(QStringLiteral("Number")).select();
                return;
            }
            Record& r = primary().rec();
            if (r.num(CNT::NUMBER) < 1 || r.num(CNT::NUMBER) > kLastOrder) {
                r.set(CNT::NUMBER, std::min(kLastOrder, highestPlusOne(VenCountry, CNT::NUMBER, CNT::NUMBER_KEY)));
                w.display(QStringLiteral("Number"));
            }
        }
        RecordForm::accepted(c);
    }
};

} // namespace

std::unique_ptr<WindowController> makeCountryFr(const QString&)
{
    return std::make_unique<CountryFr>();
}

} // namespace ven
