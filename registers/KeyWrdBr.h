// The keyword search ("Find Document by Keywords"): every keyword of every
// document in keyword order with its document beside it; typing in "Find:"
// moves to the first keyword that begins with the text; Open opens the
// keyword's document.
//
// GUI thread only. Started by the frame on a thread of its own.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeKeyWrdBr(const QString& parameter = {});

} // namespace ven
