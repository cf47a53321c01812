// SortMemorialsWnd: renumbers the levels of the memorial days as a
// permutation, with its two passes SortMemorialsProc1 and SortMemorialsProc2.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeSortMemorialsWnd(const QString& parameter);

} // namespace ven
