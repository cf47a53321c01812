// The window that restarts or shuts down the computer, or is cancelled.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeShutDownWnd(const QString& parameter);

} // namespace ven
