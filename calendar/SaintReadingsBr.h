// SaintReadingsBr: the memorial days, whose readings the Change button
// edits in SaintReadingsFr.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeSaintReadingsBr(const QString& parameter);

} // namespace ven
