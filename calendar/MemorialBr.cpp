// The memorial-days list: the computed day and month, the level, names and
// day number edited in place, Copy as the default button, and the button
// that writes the memorial days' import files.
#include "calendar/MemorialBr.h"

#include "calendar/DayList.h"
#include "calendar/MindreelMemorials.h"
#include "data/Dictionary.h"

namespace ven {
namespace {

std::vector<BrowseColumn> memorialColumns()
{
    using C = BrowseColumn;
    BrowseColumn names = C::ofField(AST::NAMES, "Names", 200, "s80");
    names.required = true;  // a day without names writes empty reminders
    return {memorialDateColumn(), C::ofField(AST::LEVEL, "#", 14, "n2"), names, C::ofField(AST::DAYNO, "Day#", 24, "n03B")};
}

const DayListSpec kMemorialBr{
    .procedure = "MemorialBr",
    .title = "Memorial Days",
    .tab = "Days",
    .file = VenSaint,
    .columns = memorialColumns,
    .key = AST::SAINTS_KEY,
    .orderField = AST::DAYNO,
    .inPlace = true,
    .importer = makeMindreelMemorials,
};

} // namespace

std::unique_ptr<WindowController> makeMemorialBr(const QString&)
{
    return makeDayList(kMemorialBr);
}

} // namespace ven
