// SoundsBrw: the registered sound effects by name, run through SoundsFrm.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeSoundsBrw(const QString& parameter);

} // namespace ven
