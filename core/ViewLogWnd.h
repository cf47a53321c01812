// ViewLogWnd: shows the current activity log and follows it as lines are written.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeViewLogWnd(const QString& parameter);

} // namespace ven
