// The "Names & Addresses" report of the names register in one of its
// orders: "1" last name, "2" first name, "3" organisation, "4" number.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeNamesRp(const QString& parameter);

// The report's first line of a name in the order of `parameter`.
QString namesRpTitleLine(const Record& name, const QString& parameter);

} // namespace ven
