// DiaryProRp: the report of project events, each with its begin, end and duration.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeDiaryProRp(const QString& parameters);

} // namespace ven
