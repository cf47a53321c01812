// RebuildKeysWnd: rebuilds the keys of every data file, each opened
// exclusively, and then renumbers the alarms.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeRebuildKeysWnd(const QString& parameter);

} // namespace ven
