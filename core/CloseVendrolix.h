// The question whether to close the program: the answer goes to the frame
// through CloseRequested; a minute without an answer counts as a yes.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

// Started by name on a thread of its own; the parameter is not used.
std::unique_ptr<WindowController> makeCloseVendrolix(const QString& parameter);

} // namespace ven
