// MemoriesBr: the calculator's numbered memories; in select mode the calculator's lookup.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeMemoriesBr(const QString& parameter);

} // namespace ven
