// TimeDisplayWnd, the digital clock: a window without a title bar with
// today's date line, the time in large digits and the next alarm's line. It
// hops to a random place once a minute and stands in for the iconized frame:
// closed by the user it asks the frame to come back.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeTimeDisplayWnd(const QString& parameter);

// How often the open digital clock has hopped to a new place (tests).
int timeDisplayHops();

} // namespace ven
