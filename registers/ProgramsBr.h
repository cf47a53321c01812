// The program register's list: the registered programs by name or by
// launcher button, the program form for Copy, Insert, Change and Delete,
// Start, and the lookup of a document's opening program (select mode).
// The register always holds the built-in "VIEW" record (the text viewer).
//
// GUI thread only. Started on a thread of its own, or called with the
// select request, where on completion the thread's VenPrg buffer holds the
// chosen program (a name primed there positions the list at it).
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

// Adds the built-in "VIEW" / "View Text File" record when the register has
// no record of that name; false after a failure other than not found.
bool ensureViewProgram(KeyedFile& prg);

std::unique_ptr<WindowController> makeProgramsBr(const QString& parameter = {});

} // namespace ven
