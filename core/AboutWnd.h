// AboutWnd: the program's version and build; left alone it closes after
// about five minutes and starts the floating button.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeAboutWnd(const QString& parameter);

} // namespace ven
