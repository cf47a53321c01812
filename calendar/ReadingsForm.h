// The readings forms of a feast and of a memorial day: one form over VenLit
// or VenSaint, built once and told apart by its data (the read-only fields
// that show the day, the readings memo, the caption). It serves the change
// request only.
#pragma once

#include "platform/WindowController.h"
#include "platform/WindowDef.h"

#include <memory>
#include <vector>

namespace ven {

struct FileDef;

struct ReadingsSpec {
    const char* procedure;
    const char* title;
    const FileDef& file;
    std::vector<ControlDef> shown;   // the read-only fields above the memo
    const char* readingsTip;
    const char* readingsUse;         // the memo's field
    const char* captionLead;         // the caption: lead, then the named field in brackets
    uint16_t captionField;
    // A field whose check runs before OK stores, and its control; 0: none.
    uint16_t checkedField = 0;
    const char* checkedControl = "";
};

std::unique_ptr<WindowController> makeReadingsForm(const ReadingsSpec& spec);

} // namespace ven
