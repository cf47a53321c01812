// ForexBr: the five exchange rates of the calculator's currency keys.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeForexBr(const QString& parameter);

} // namespace ven
