// The log-in window: the password alone identifies the user, whose name
// becomes CurrentUser; wrong passwords are counted, and the fourth, a "No"
// to trying again, or closing without a user ends the program.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

// Started by name; the parameter is not used. It ends with RequestCompleted
// once a user is logged in.
std::unique_ptr<WindowController> makeLoginWnd(const QString& parameter);

} // namespace ven
