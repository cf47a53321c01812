// ViewCalcTapeWnd: the calculator tape's viewer: Edit opens it in the user's editor, Erase starts a new tape.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeViewCalcTapeWnd(const QString& parameter);

} // namespace ven
