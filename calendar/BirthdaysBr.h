// The anniversaries list, by day number or by address-book number, with the
// anniversary form for Insert, Change and Delete.
//
// GUI thread only. Started by the frame; one running instance.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeBirthdaysBr(const QString& parameter = {});

} // namespace ven
