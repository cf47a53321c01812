// The list of users in name order, with the user form for Insert, Change
// and Delete.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeUserBr(const QString& parameter);

} // namespace ven
