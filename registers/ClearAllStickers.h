// Empties the mailing-label list.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeClearAllStickers(const QString& parameter);

} // namespace ven
