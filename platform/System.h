// Facts of the computer the program runs on.
#pragma once

#include <QString>

namespace ven {

// The user's log-on name; empty when it cannot be had.
QString logOnName();

} // namespace ven
