// AccountsBr: the list of the ledger's accounts with their running totals.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeAccountsBr(const QString& parameter = {});

} // namespace ven
