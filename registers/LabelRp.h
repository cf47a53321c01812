// The four label reports, one design told once: the mailing labels in print
// order on laser label sheets of A4, from any label of a used sheet.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

// Sheet kinds 1 to 4: 3 x 8, 3 x 9, 3 x 12, 2 x 7.
struct LabelSheetKind {
    const char* procedure;  // "Label_3x8_Rp" ...
    const char* title;
    int across, down;
};
// The kind's description; nullptr outside 1..4.
const LabelSheetKind* labelSheetKind(int kind);

// The report of a sheet kind, printing from label `first` (1 the sheet's first).
std::unique_ptr<WindowController> makeLabelRp(int kind, int first);

// A label's zip-and-city line and country line: a "/" in the city field
// separates the town from the country (the last "/" counts).
struct LabelLines {
    QString name, zipCity, country;
};
LabelLines labelLines(const Record& label);

} // namespace ven
