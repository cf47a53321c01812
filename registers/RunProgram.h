// Starting a program of the program register, as the register's list, its
// form and the launcher's buttons all do: the program with its parameters
// split into arguments, in its start folder, with no shell between; then
// the activity-log line "hh:mm:ss <start folder>> <program> <parameters>".
//
// GUI thread only.
#pragma once

#include "platform/KeyedFile.h"

class QObject;

namespace ven {

// Starts the program of `prg` (a VenPrg record) for `window`; the shell's
// result is left in ShellResult (a failure is shown by the shell).
void startRegisteredProgram(const Record& prg, QObject* window);

} // namespace ven
