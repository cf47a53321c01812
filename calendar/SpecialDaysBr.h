// The list of special days in date order, with the special-day form for
// Insert, Change and Delete.
//
// GUI thread only. Started by the frame; one running instance.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeSpecialDaysBr(const QString& parameter = {});

} // namespace ven
