// MoneyBr: the ledger's transactions for a date range and chosen account
// types, newest first or by account, and the money report.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeMoneyBr(const QString& parameter = {});

// The filter texts of the list and of the report: dates as day numbers,
// the type part from the three boxes (Expenses, Income, Credit).
QString moneyTypePart(bool expenses, bool income, bool credit);
QString moneyListFilter(int32_t from, int32_t to, const QString& typePart);
QString moneyPrintFilter(int32_t from, int32_t to, const QString& typePart);

} // namespace ven
