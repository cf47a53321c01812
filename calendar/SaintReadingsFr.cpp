// The memorial day's readings: the day shown read-only, its readings memo
// edited; OK checks the day number's range first.
#include "calendar/SaintReadingsFr.h"

#include "data/Dictionary.h"
#include "platform/ErrorReporter.h"
#include "platform/RecordForm.h"

namespace ven {
namespace {

const WindowDef kSaintReadingsFrDef{
    .title = "Memorial Readings",
    .w = 360,
    .h = 196,
    .icon = "Calender.ico",
    .controls = {
        {.name = "Sheet", .kind = Kind::Sheet, .x = 4, .y = 4, .w = 352, .h = 168},
        {.name = "Readings", .kind = Kind::Tab, .text = "Readings", .parent = "Sheet"},
        {.name = "DayNo", .kind = Kind::Entry, .x = 8, .y = 20, .w = 20, .h = 10, .parent = "Readings", .picture = "n03",
         .use = "AST:DAYNO", .flags = ReadOnly},
        {.name = "Level", .kind = Kind::Entry, .x = 30, .y = 20, .w = 10, .h = 10, .parent = "Readings", .picture = "n1",
         .tip = "Level Number", .use = "AST:LEVEL", .flags = ReadOnly},
        {.name = "Names", .kind = Kind::Entry, .x = 42, .y = 20, .w = 310, .h = 10, .parent = "Readings", .picture = "s128",
         .tip = "Saints & Memorials", .use = "AST:NAMES", .flags = ReadOnly},
        {.name = "ReadingsText", .kind = Kind::Text, .x = 8, .y = 36, .w = 344, .h = 130, .parent = "Readings",
         .tip = "Daily Readings", .use = "AST:READINGS"},
        {.name = "OK", .kind = Kind::Button, .text = "&OK", .x = 230, .y = 178, .w = 40, .h = 14, .flags = Default},
        {.name = "Cancel", .kind = Kind::Button, .text = "Cancel", .x = 273, .y = 178, .w = 40, .h = 14,
         .closes = RequestCancelled},
        {.name = "Help", .kind = Kind::Button, .text = "Help", .x = 316, .y = 178, .w = 40, .h = 14, .flags = HelpButton},
    }};

class SaintReadingsFr : public RecordForm {
public:
    SaintReadingsFr() : RecordForm(QStringLiteral("SaintReadingsFr"), kSaintReadingsFrDef, VenSaint)
    {
        FIRSTFIELD = QStringLiteral("ReadingsText");
        setServes({ChangeRecord});
    }

protected:
    bool setUp() override
    {
        if (!RecordForm::setUp())
            return false;
        window().setTitle(QStringLiteral("Change  (") + primary().rec().str(AST::NAMES) + QStringLiteral(")"));
        return true;
    }

    void accepted(const QString& c) override
    {
        // The day number's range check runs before the record is stored.
        if (c == OKCONTROL && REQUEST == ChangeRecord) {
            if (Status st = primary().validateField(AST::DAYNO); !st) {
                errors().show(st);
                control("DayNo").select();
                return;
            }
        }
        RecordForm::accepted(c);
    }
};

} // namespace

std::unique_ptr<WindowController> makeSaintReadingsFr(const QString&)
{
    return std::make_unique<SaintReadingsFr>();
}

} // namespace ven
