// MemoriesFr: one calculator memory: number, name and value.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeMemoriesFr(const QString& parameter);

} // namespace ven
