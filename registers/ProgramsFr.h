// The program form: one program of the register, its launcher button, the
// program, start folder and icon chosen by dialogs, Start, and OK's checks
// of the button number.
//
// GUI thread only. Run by the program list on its thread with the request
// in CallRequest and the program in the thread's VenPrg buffer.
#pragma once

#include "platform/WindowController.h"

#include <QString>

#include <memory>

namespace ven {

// The start folder a program path gives: the path up to and including its
// last separator; `lastFolder` when it has none.
QString startPathFromProgram(const QString& program, const QString& lastFolder);
// A start folder cut after its last separator (a folder without one
// stays); a folder that exists stays whole, ending in its separator.
QString trimStartPath(const QString& startPath);

std::unique_ptr<WindowController> makeProgramsFr(const QString& parameter = {});

} // namespace ven
