// ProjectSel: the "Project Category" window. The user picks a diary
// category and opens its project list, or recalculates every project's totals.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeProjectSel(const QString& parameter);

} // namespace ven
