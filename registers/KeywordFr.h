// The keyword form: one keyword of a document inserted or changed, or
// deleted at once without a window.
//
// GUI thread only. Run by the document form's keyword list on its thread;
// a new keyword's document number is prepared in the thread's VenKWrd buffer.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeKeywordFr(const QString& parameter = {});

} // namespace ven
