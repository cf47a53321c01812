// The idea form: one idea with the list of its details, which the detail
// form inserts, changes and deletes.
//
// GUI thread only. Run by the idea list on its thread with the idea in the
// thread's VenIdea buffer.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeIdeaFr(const QString& parameter = {});

} // namespace ven
