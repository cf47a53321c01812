// The anniversary form: one anniversary (VenBirth) added, changed or
// deleted, filed under the fixed day number of its date, its person taken
// from the address book.
//
// GUI thread only. Called by the anniversaries list with the request in
// CallRequest; Busy:BirthFr while it is open. Calls "NameBr" by name for
// selection.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeBirthFr(const QString& parameter = {});

} // namespace ven
