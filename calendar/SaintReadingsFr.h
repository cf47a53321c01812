// SaintReadingsFr: the readings of one memorial day; it serves the change request only.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeSaintReadingsFr(const QString& parameter);

} // namespace ven
