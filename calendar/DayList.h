// The lists of feasts and memorial days: one browse over VenLit or VenSaint,
// built once and told apart by a list's data (procedure, caption, columns,
// order). A list is either edited in place, with Copy and the button that
// writes the reminder program's import files, or opens a readings form on
// Change.
#pragma once

#include "platform/BrowseList.h"

#include <memory>

namespace ven {

struct DayListSpec {
    const char* procedure;
    const char* title;
    const char* tab;                      // the tab's name and caption
    const FileDef& file;
    std::vector<BrowseColumn> (*columns)();
    uint16_t key, orderField;
    // Edited in place: the row check of the key (if any) and the import files' procedure.
    bool inPlace = false;
    BrowseList::RowVerdict (*storeCheck)(const Record& edited, uint16_t field, bool newRow) = nullptr;
    std::unique_ptr<WindowController> (*importer)(const QString&) = nullptr;
    // Otherwise: the form Change opens.
    std::unique_ptr<WindowController> (*form)(const QString&) = nullptr;
};

std::unique_ptr<WindowController> makeDayList(const DayListSpec& spec);

// The feasts' columns: language, feast code and name.
std::vector<BrowseColumn> feastColumns();
// The memorial day's day and month, computed from its day number.
BrowseColumn memorialDateColumn();

} // namespace ven
