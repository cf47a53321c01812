// The feasts list: three columns edited in place, Copy as the default
// button, and the button that writes the feasts' import files.
#include "calendar/FeastsBr.h"

#include "calendar/DayList.h"
#include "calendar/FeastDays.h"
#include "calendar/MakeLitImportPr.h"
#include "data/Dictionary.h"

namespace ven {
namespace {

// A new row is held unstored while only its language is typed: its feast
// code comes next. Otherwise a row that the key would lose is refused.
BrowseList::RowVerdict feastRow(const Record& r, uint16_t field, bool newRow)
{
    using V = BrowseList::RowVerdict;
    if (r.num(LIT::FEAST) != 0 || r.num(LIT::LANGUAGE) != 0)
        return V::Store;
    if (newRow && field == LIT::LANGUAGE)
        return V::Hold;
    return feastKeyUsable(r) ? V::Store : V::Refuse;
}

const DayListSpec kFeastsBr{
    .procedure = "FeastsBr",
    .title = "Browse Canonical Feasts",
    .tab = "Feasts",
    .file = VenLit,
    .columns = feastColumns,
    .key = LIT::LIT_KEY,
    .orderField = LIT::FEAST,
    .storeCheck = feastRow,
    .importer = makeMakeLitImportPr,
};

} // namespace

std::unique_ptr<WindowController> makeFeastsBr(const QString&)
{
    return makeDayList(kFeastsBr);
}

} // namespace ven
