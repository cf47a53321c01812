// EditQuickNote: opens the quick memo, Program_Path's "VenMemo.txt" in the user's own editor.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeEditQuickNote(const QString& parameter);

} // namespace ven
