// ForexFr: one exchange rate: currency number, symbol and name, rate.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeForexFr(const QString& parameter);

} // namespace ven
