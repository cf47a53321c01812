// The feasts list: three columns edited in place, Copy as the default
// button, and the button that writes the feasts' import files.
#include "calendar/FeastsBr.h"

#include "calendar/DayList.h"
#include "calendar/FeastDays.h"
#include "calendar/MakeLitImportPr.h"
#include "data/Dictionary.h"

namespace ven {
namespace {

// A row that the key would lose (feast 0 in language 0) is refused.
BrowseList::RowVerdict feastRow(const Record& r, uint16_t, bool)
{
    return feastKeyUsable(r) ? BrowseList::RowVerdict::Store : BrowseList::RowVerdict::Refuse;
}

const DayListSpec kFeastsBr{
    .procedure = "FeastsBr",
    .title = "Browse Canonical Feasts",
    .tab = "Feasts",
    .file = VenLit,
    .columns = feastColumns,
    .key = LIT::LIT_KEY,
    .orderField = LIT::FEAST,
    .inPlace = true,
    .storeCheck = feastRow,
    .importer = makeMakeLitImportPr,
};

} // namespace

std::unique_ptr<WindowController> makeFeastsBr(const QString&)
{
    return makeDayList(kFeastsBr);
}

} // namespace ven
