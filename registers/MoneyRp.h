// MoneyRp: the money report of the transactions a filter text chooses
// (the filter grammar of platform/RecordFilter.h), oldest first, with the
// income, expense and bank columns and their totals.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeMoneyRp(const QString& filter);

} // namespace ven
