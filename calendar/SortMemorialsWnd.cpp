// The levels of the memorial days: the file, field and names of the renumbering.
#include "calendar/SortMemorialsWnd.h"

#include "calendar/Renumbering.h"
#include "data/Dictionary.h"

namespace ven {

namespace {

const RenumberFamily& family()
{
    static const RenumberFamily f{"SortMemorialsWnd", "Sort Memorial days", "SortMemorialsProc1", "SortMemorialsProc2", VenSaint, AST::LEVEL};
    return f;
}

} // namespace

std::unique_ptr<WindowController> makeSortMemorialsWnd(const QString&)
{
    return makeRenumberWnd(family());
}

} // namespace ven
