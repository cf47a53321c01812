// AccountsFr: adds, changes or deletes one account.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeAccountsFr(const QString& parameter = {});

} // namespace ven
