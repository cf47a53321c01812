// The system's procedures by name: the frame's tables, the timer and the
// windows start each other by the names the system gives them. The entry
// defines every procedure that is built; a name without a definition
// answers with message 24 ("Procedure not defined") naming it.
#pragma once

#include "platform/WindowController.h"

#include <QString>

#include <functional>
#include <memory>

namespace ven {

// Makes a procedure's controller; `parameter` is its start parameter ("C"
// for the document categories), empty for most.
using ProcedureMaker = std::function<std::unique_ptr<WindowController>(const QString& parameter)>;

void defineProcedure(const QString& name, ProcedureMaker make);
bool procedureDefined(const QString& name);
// Forgets every definition (tests).
void clearProcedures();

// Starts a procedure on a new thread, with CallRequest := `request` just
// before its set-up. Returns its thread number; 0 when the thread table is
// full, or when it is not defined (after message 24).
int startProcedure(const QString& name, const QString& parameter = {}, uint8_t request = 0);
// Runs a procedure on the current thread, the caller waiting until it ends;
// `done` gets its response. An undefined one shows message 24 and answers 2.
void callProcedure(const QString& name, uint8_t request, Done done = {}, const QString& parameter = {});

} // namespace ven
