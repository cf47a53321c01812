// ViewerWnd: shows the text file named in the shell-launch block when it starts.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeViewerWnd(const QString& parameter);

} // namespace ven
