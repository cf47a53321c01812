// HelpWnd: shows the program's help text, "VenHelp.txt".
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeHelpWnd(const QString& parameter);

} // namespace ven
