// Removes the mailing labels that have no address (blank placeholders among them).
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeDeleteEmptyLabelsPr(const QString& parameter);

// True for a label without organisation, names, street, zip code and city.
bool isEmptyLabel(const Record& label);

} // namespace ven
