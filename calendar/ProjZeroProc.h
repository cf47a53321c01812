// ProjZeroProc: the first of the two project-totals runs. It reads every
// project numbered above 0 with its totals at zero and hands them to
// ProjCalcProc, which writes the new totals; nothing is written here, so a
// cancelled pair leaves the old totals as they were.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeProjZeroProc(const QString& parameter);

} // namespace ven
