// The country form: adds, changes or deletes one country.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeCountryFr(const QString& parameter);

} // namespace ven
