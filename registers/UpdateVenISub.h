// The idea-detail form: one detail of an idea (header, memo) with the list
// of its documents, which the document form files under ("I", the
// detail's number); an old document path of the detail becomes a document.
//
// GUI thread only. Run by the idea form on its thread; the idea is in the
// thread's VenIdea buffer, the detail in its VenISub buffer.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

// Writes: GCatId, GCatNum, GDocPath and GDocDescription before the
// document form runs.
std::unique_ptr<WindowController> makeUpdateVenISub(const QString& parameter = {});

} // namespace ven
