// The detail band that the project and meeting reports share: begin, end
// and duration, the legend, the document and the memorandum.
#pragma once

#include "platform/ReportPages.h"

namespace ven {

const BandDef& eventBand();

} // namespace ven
