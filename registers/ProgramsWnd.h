// The program launcher ("Start Programs"): five tabs of twenty buttons,
// one for each launcher button number 1 to 100 of the program register;
// a button shows its program (name, icon, description as tip) when the
// program's file exists, and starts it when pressed.
//
// GUI thread only. Started by the frame on a thread of its own; one
// running instance.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

// The tab (1..5) and the place on it (1..20, left to right, top to
// bottom) of launcher button `number` (1..100).
int launcherTab(int number);
int launcherPlace(int number);

// Reads: [ProgramsWnd] TabName1 .. TabName5 of the current folder's
// "Vendrolix.ini". Starts "ProgramsBr" on a new thread (Install Programs).
std::unique_ptr<WindowController> makeProgramsWnd(const QString& parameter = {});

} // namespace ven
