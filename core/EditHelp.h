// EditHelp: opens the help text, Program_Path's "VenHelp.txt" in the user's own editor.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeEditHelp(const QString& parameter);

} // namespace ven
