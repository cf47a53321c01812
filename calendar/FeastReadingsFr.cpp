// The feast's readings: the feast shown read-only, its readings memo edited.
#include "calendar/FeastReadingsFr.h"

#include "data/Dictionary.h"
#include "platform/RecordForm.h"

namespace ven {
namespace {

const WindowDef kFeastReadingsFrDef{
    .title = "Feast Readings",
    .w = 360,
    .h = 196,
    .icon = "Calender.ico",
    .controls = {
        {.name = "Sheet", .kind = Kind::Sheet, .x = 4, .y = 4, .w = 352, .h = 168},
        {.name = "Readings", .kind = Kind::Tab, .text = "Readings", .parent = "Sheet"},
        {.name = "Feast", .kind = Kind::Entry, .x = 8, .y = 20, .w = 20, .h = 10, .parent = "Readings", .picture = "N03",
         .tip = "Feast Number", .use = "LIT:FEAST", .flags = ReadOnly},
        {.name = "Language", .kind = Kind::Entry, .x = 30, .y = 20, .w = 14, .h = 10, .parent = "Readings", .picture = "n2",
         .tip = "Language Number", .use = "LIT:LANGUAGE", .flags = ReadOnly},
        {.name = "Color", .kind = Kind::Entry, .x = 46, .y = 20, .w = 10, .h = 10, .parent = "Readings", .picture = "s1",
         .tip = "Colour", .use = "LIT:COLOR", .flags = ReadOnly},
        {.name = "Name", .kind = Kind::Entry, .x = 58, .y = 20, .w = 294, .h = 10, .parent = "Readings", .picture = "s80",
         .tip = "Name of the Liturgical Day", .use = "LIT:NAME", .flags = ReadOnly},
        {.name = "ReadingsText", .kind = Kind::Text, .x = 8, .y = 36, .w = 344, .h = 130, .parent = "Readings",
         .tip = "Mass Readings", .use = "LIT:READINGS"},
        {.name = "OK", .kind = Kind::Button, .text = "&OK", .x = 230, .y = 178, .w = 40, .h = 14, .flags = Default},
        {.name = "Cancel", .kind = Kind::Button, .text = "Cancel", .x = 273, .y = 178, .w = 40, .h = 14,
         .closes = RequestCancelled},
        {.name = "Help", .kind = Kind::Button, .text = "Help", .x = 316, .y = 178, .w = 40, .h = 14, .flags = HelpButton},
    }};

class FeastReadingsFr : public RecordForm {
public:
    FeastReadingsFr() : RecordForm(QStringLiteral("FeastReadingsFr"), kFeastReadingsFrDef, VenLit)
    {
        FIRSTFIELD = QStringLiteral("ReadingsText");
        setServes({ChangeRecord});
    }

protected:
    bool setUp() override
    {
        if (!RecordForm::setUp())
            return false;
        // The name with its blank padding, as stored.
        window().setTitle(QStringLiteral("Readings  (") + primary().rec().str(LIT::NAME) + QStringLiteral(")"));
        return true;
    }
};

} // namespace

std::unique_ptr<WindowController> makeFeastReadingsFr(const QString&)
{
    return std::make_unique<FeastReadingsFr>();
}

} // namespace ven
