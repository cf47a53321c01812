// The category form: one document category with the list of its documents,
// which the document form files, changes and deletes; Open opens the
// highlighted document.
//
// GUI thread only. Run by the category list on its thread; a new
// category's number is in GCatNum.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeDocCatFr(const QString& parameter = {});

} // namespace ven
