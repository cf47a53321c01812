// MemorialBr: the memorial days by day number and level, edited in the
// list itself, with Copy and the reminder program's import files.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeMemorialBr(const QString& parameter);

} // namespace ven
