// ProjCalcProc: reads the whole diary once and sums each qualifying entry's
// hours into the projects the zeroing run handed over, then writes every
// project's totals in one transaction. Cancelled, it writes nothing.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeProjCalcProc(const QString& parameter);

} // namespace ven
