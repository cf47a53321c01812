// The feast's readings: the feast shown read-only, its readings memo edited.
#include "calendar/FeastReadingsFr.h"

#include "calendar/ReadingsForm.h"
#include "data/Dictionary.h"

namespace ven {
namespace {

const ReadingsSpec kFeastReadingsFr{
    .procedure = "FeastReadingsFr",
    .title = "Feast Readings",
    .file = VenLit,
    .shown = {
        {.name = "Feast", .kind = Kind::Entry, .x = 8, .y = 20, .w = 20, .h = 10, .parent = "Readings", .picture = "N03",
         .tip = "Feast Number", .use = "LIT:FEAST", .flags = ReadOnly},
        {.name = "Language", .kind = Kind::Entry, .x = 30, .y = 20, .w = 14, .h = 10, .parent = "Readings", .picture = "n2",
         .tip = "Language Number", .use = "LIT:LANGUAGE", .flags = ReadOnly},
        {.name = "Color", .kind = Kind::Entry, .x = 46, .y = 20, .w = 10, .h = 10, .parent = "Readings", .picture = "s1",
         .tip = "Colour", .use = "LIT:COLOR", .flags = ReadOnly},
        {.name = "Name", .kind = Kind::Entry, .x = 58, .y = 20, .w = 294, .h = 10, .parent = "Readings", .picture = "s80",
         .tip = "Name of the Liturgical Day", .use = "LIT:NAME", .flags = ReadOnly},
    },
    .readingsTip = "Mass Readings",
    .readingsUse = "LIT:READINGS",
    .captionLead = "Readings",
    .captionField = LIT::NAME,
};

} // namespace

std::unique_ptr<WindowController> makeFeastReadingsFr(const QString&)
{
    return makeReadingsForm(kFeastReadingsFr);
}

} // namespace ven
