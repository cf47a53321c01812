// MoneyFr: adds a transaction from one account to another, or split over
// several accounts of one type, and keeps the accounts' totals.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeMoneyFr(const QString& parameter = {});

} // namespace ven
