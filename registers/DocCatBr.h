// The document categories: the list of categories by name, and the
// category form run for Insert, Change and Delete.
//
// GUI thread only. Started by the frame on a thread of its own with the
// owner letter "C" as its parameter.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

// Reads and writes: GCatId ("C") and GCatNum (the highlighted category; a
// new category's number before the form opens).
std::unique_ptr<WindowController> makeDocCatBr(const QString& parameter = {});

} // namespace ven
