// AccSelBr: picks an account of the type in AccType (request 4).
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeAccSelBr(const QString& parameter = {});

} // namespace ven
