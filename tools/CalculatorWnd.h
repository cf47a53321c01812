// CalculatorWnd: the pocket calculator, with its memories, currency keys and tape.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeCalculatorWnd(const QString& parameter);

} // namespace ven
