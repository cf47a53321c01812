// The languages of the canonical feasts: the file, field and names of the renumbering.
#include "calendar/SortFeastsWnd.h"

#include "calendar/Renumbering.h"
#include "data/Dictionary.h"

namespace ven {

namespace {

const RenumberFamily& family()
{
    static const RenumberFamily f{"SortFeastsWnd", "Sort Canonical Feasts", "SortFeastsProc1", "SortFeastsProc2", VenLit, LIT::LANGUAGE};
    return f;
}

} // namespace

std::unique_ptr<WindowController> makeSortFeastsWnd(const QString&)
{
    return makeRenumberWnd(family());
}

} // namespace ven
