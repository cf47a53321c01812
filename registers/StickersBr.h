// The mailing-label list: labels edited in place, copied for printing an
// address several times, refreshed from their names, deleted, cleared, and
// printed on label sheets.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeStickersBr(const QString& parameter);

} // namespace ven
