// MemoWnd: shows the quick memo, "VenMemo.txt" in the program folder.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeMemoWnd(const QString& parameter);

} // namespace ven
