// DiaryMemRp: the report of meetings, each with its begin, end and duration.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeDiaryMemRp(const QString& parameters);

} // namespace ven
