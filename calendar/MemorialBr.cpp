// The memorial-days list: the computed day and month, the level, names and
// day number edited in place, Copy as the default button, and the button
// that writes the memorial days' import files.
#include "calendar/MemorialBr.h"

#include "calendar/DayList.h"
#include "calendar/MindreelMemorials.h"
#include "data/Dictionary.h"

namespace ven {
namespace {

// A new row is held unstored until its day number is typed (or Enter
// stores it as it stands); the range check judges it when it is stored.
BrowseList::RowVerdict memorialRow(const Record& r, uint16_t field, bool newRow)
{
    using V = BrowseList::RowVerdict;
    const int64_t day = r.num(AST::DAYNO);
    const bool cell = field != AST::DAYNO && field != BrowseList::kWholeRow;
    return newRow && cell && (day < 1 || day > 366) ? V::Hold : V::Store;
}

std::vector<BrowseColumn> memorialColumns()
{
    using C = BrowseColumn;
    return {memorialDateColumn(), C::ofField(AST::LEVEL, "#", 14, "n2"), C::ofField(AST::NAMES, "Names", 200, "s80"),
            C::ofField(AST::DAYNO, "Day#", 24, "n03B")};
}

const DayListSpec kMemorialBr{
    .procedure = "MemorialBr",
    .title = "Memorial Days",
    .tab = "Days",
    .file = VenSaint,
    .columns = memorialColumns,
    .key = AST::SAINTS_KEY,
    .orderField = AST::DAYNO,
    .storeCheck = memorialRow,
    .importer = makeMindreelMemorials,
};

} // namespace

std::unique_ptr<WindowController> makeMemorialBr(const QString&)
{
    return makeDayList(kMemorialBr);
}

} // namespace ven
