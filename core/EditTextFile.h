// EditTextFile: opens the file named in the shell-launch block in the user's own editor.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeEditTextFile(const QString& parameter);

} // namespace ven
