// EditLog: opens the current activity-log file in the user's own editor.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeEditLog(const QString& parameter);

} // namespace ven
