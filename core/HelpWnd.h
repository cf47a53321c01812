// HelpWnd: shows the program's help text, "VenHelp.txt".
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeHelpWnd(const QString& parameter);

// A window's Help: the help window at that window's topic (its procedure's
// name), started or, when open, moved there and brought forward.
void ShowHelp(const QString& topic);

} // namespace ven
