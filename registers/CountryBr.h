// The countries with their telephone, zip and e-mail prefixes, in four
// orders; the name form's country lookup in select mode.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeCountryBr(const QString& parameter);

} // namespace ven
