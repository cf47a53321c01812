// Chooses the label sheet and the first free label of a used sheet, and
// prints the mailing labels on it.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeSetUpLabelWnd(const QString& parameter);

} // namespace ven
