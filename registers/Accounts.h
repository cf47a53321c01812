// What the account list and the account picker share: their columns, the
// amount colours, and the filter that each lists by.
#pragma once

#include "platform/BrowseList.h"

#include <memory>

namespace ven {

std::vector<BrowseColumn> accountColumns();
// Below 0 red on white, else blue on white; a highlighted row keeps its
// text colour on light yellow.
CellColours accountColours(const Record& account);
// The window's account list on its sheet "Sheet": the account columns and
// colours; the caller gives it its order and filter.
std::unique_ptr<BrowseList> accountList(WindowController& window);
// Lists the file's records by a filter text of the filter grammar (see
// platform/RecordFilter.h) with the names bound for it; false when the text
// is not a filter (nothing is listed then).
// The number a new account of `type` takes when `from` is asked for: the
// lowest free one from `from` on within 1..98 (the numbers the account
// list shows), then from 1; 99 only when asked for and free; 0 when every
// number is taken or the file cannot be read.
int freeAccountNumber(const QString& type, int from);
bool setListFilter(BrowseList& list, const FileDef& def, const QString& text,
                   const std::map<QString, Value>& names = {});

} // namespace ven
