// MindreelMemorials: writes this year's memorial days for the reminder
// program, one file per level, in the progress window.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeMindreelMemorials(const QString& parameter);

} // namespace ven
