// The user form: adds, changes or deletes one user of the user file, its
// password typed twice.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeUserFr(const QString& parameter);

} // namespace ven
