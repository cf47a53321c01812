// The feasts for their readings: the feasts list's columns, Change opening
// the readings form.
#include "calendar/FeastReadingsBr.h"

#include "calendar/DayList.h"
#include "calendar/FeastReadingsFr.h"
#include "data/Dictionary.h"

namespace ven {
namespace {

const DayListSpec kFeastReadingsBr{
    .procedure = "FeastReadingsBr",
    .title = "Browse Canonical Feasts",
    .tab = "Feasts",
    .file = VenLit,
    .columns = feastColumns,
    .key = LIT::LIT_KEY,
    .orderField = LIT::FEAST,
    .form = makeFeastReadingsFr,
};

} // namespace

std::unique_ptr<WindowController> makeFeastReadingsBr(const QString&)
{
    return makeDayList(kFeastReadingsBr);
}

} // namespace ven
