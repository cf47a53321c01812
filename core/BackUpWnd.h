// BackUpWnd: copies the data files, or the whole program folder, into the
// one of the two alternating backup sets that was not written last.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeBackUpWnd(const QString& parameter);

} // namespace ven
