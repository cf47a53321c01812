// LockVendrolixWnd: locks the running program with a password typed on the
// spot; only the same password opens it again. A lock of the program, not
// of the screen: it grabs neither keyboard nor mouse.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeLockVendrolixWnd(const QString& parameter);

} // namespace ven
