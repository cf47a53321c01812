// DiaryNotRp: the report of notes, each with its time, legend, document and memorandum.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeDiaryNotRp(const QString& parameters);

} // namespace ven
