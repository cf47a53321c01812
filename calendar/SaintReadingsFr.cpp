// The memorial day's readings: the day shown read-only, its readings memo
// edited; OK checks the day number's range first.
#include "calendar/SaintReadingsFr.h"

#include "calendar/ReadingsForm.h"
#include "data/Dictionary.h"

namespace ven {
namespace {

const ReadingsSpec kSaintReadingsFr{
    .procedure = "SaintReadingsFr",
    .title = "Memorial Readings",
    .file = VenSaint,
    .shown = {
        {.name = "DayNo", .kind = Kind::Entry, .x = 8, .y = 20, .w = 20, .h = 10, .parent = "Readings", .picture = "n03",
         .use = "AST:DAYNO", .flags = ReadOnly},
        {.name = "Level", .kind = Kind::Entry, .x = 30, .y = 20, .w = 10, .h = 10, .parent = "Readings", .picture = "n1",
         .tip = "Level Number", .use = "AST:LEVEL", .flags = ReadOnly},
        {.name = "Names", .kind = Kind::Entry, .x = 42, .y = 20, .w = 310, .h = 10, .parent = "Readings", .picture = "s128",
         .tip = "Saints & Memorials", .use = "AST:NAMES", .flags = ReadOnly},
    },
    .readingsTip = "Daily Readings",
    .readingsUse = "AST:READINGS",
    .captionLead = "Change",
    .captionField = AST::NAMES,
    .checkedField = AST::DAYNO,
    .checkedControl = "DayNo",
};

} // namespace

std::unique_ptr<WindowController> makeSaintReadingsFr(const QString&)
{
    return makeReadingsForm(kSaintReadingsFr);
}

} // namespace ven
