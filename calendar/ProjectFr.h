// ProjectFr: the "Update Projects" form of one project. A new project takes
// the current category (GCategory) and a number of its own in it.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeProjectFr(const QString& parameter);

} // namespace ven
