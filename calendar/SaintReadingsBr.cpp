// The memorial days for their readings: day number, level, names and the
// computed day and month, Change opening the readings form.
#include "calendar/SaintReadingsBr.h"

#include "calendar/DayList.h"
#include "calendar/SaintReadingsFr.h"
#include "data/Dictionary.h"

namespace ven {
namespace {

std::vector<BrowseColumn> readingsColumns()
{
    using C = BrowseColumn;
    return {C::ofField(AST::DAYNO, "Day", 24, "n03B"), C::ofField(AST::LEVEL, "#", 14, "n2"),
            C::ofField(AST::NAMES, "Names", 200, "s80"), memorialDateColumn()};
}

const DayListSpec kSaintReadingsBr{
    .procedure = "SaintReadingsBr",
    .title = "Memorial Days",
    .tab = "Days",
    .file = VenSaint,
    .columns = readingsColumns,
    .key = AST::SAINTS_KEY,
    .orderField = AST::DAYNO,
    .form = makeSaintReadingsFr,
};

} // namespace

std::unique_ptr<WindowController> makeSaintReadingsBr(const QString&)
{
    return makeDayList(kSaintReadingsBr);
}

} // namespace ven
