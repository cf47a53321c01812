// DiaryExtRp: the report of extra events (television programmes) by channel, over days that run from 06:00 to 06:00.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeDiaryExtRp(const QString& parameters);

} // namespace ven
