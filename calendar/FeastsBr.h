// FeastsBr: the canonical feasts by code and language, edited in the list
// itself, with Copy and the reminder program's import files.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeFeastsBr(const QString& parameter);

} // namespace ven
