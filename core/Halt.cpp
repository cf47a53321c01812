// The program's immediate end.
#include "core/Halt.h"

#include "core/FrameSettings.h"
#include "platform/Ini.h"

#include <cstdlib>

namespace ven {

namespace {
std::function<void()>& haltHandler()
{
    static std::function<void()> handler;
    return handler;
}
} // namespace

void HaltProgram()
{
    if (haltHandler())
        haltHandler()();
    else
        std::exit(0);
}

void HaltNotRunning()
{
    writeIni(ProgramIni(), "Main", "Vendrolix:Running", "No");
    HaltProgram();
}

void setHaltHandler(std::function<void()> handler)
{
    haltHandler() = std::move(handler);
}

} // namespace ven
