// FeastReadingsBr: the canonical feasts, whose readings the Change button
// edits in FeastReadingsFr.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeFeastReadingsBr(const QString& parameter);

} // namespace ven
