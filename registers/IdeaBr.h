// The idea register ("Ideas - Think Tank"): the ideas by name or number,
// and the idea form for Insert, Change and Delete.
//
// GUI thread only. Started by the frame on a thread of its own.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeIdeaBr(const QString& parameter = {});

} // namespace ven
