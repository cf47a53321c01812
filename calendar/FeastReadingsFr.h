// FeastReadingsFr: the readings of one feast; it serves the change request only.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeFeastReadingsFr(const QString& parameter);

} // namespace ven
