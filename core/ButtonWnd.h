// ButtonWnd: the floating button that stands in for the hidden frame. It
// jumps about, escapes the mouse a few times, and closing it (a click, or
// once caught) brings the frame back.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeButtonWnd(const QString& parameter);

} // namespace ven
