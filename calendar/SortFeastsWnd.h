// SortFeastsWnd: renumbers the languages of the canonical feasts as a
// permutation, with its two passes SortFeastsProc1 and SortFeastsProc2.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeSortFeastsWnd(const QString& parameter);

} // namespace ven
