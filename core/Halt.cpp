// The program's immediate end.
#include "core/Halt.h"

#include "core/FrameSettings.h"
#include "platform/Ini.h"
#include "platform/TellOnce.h"

#include <QCoreApplication>

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
    writeIniTold(ProgramIni(), "Main", "Vendrolix:Running", "No");
    HaltProgram();
}

void EndEventLoop(int code)
{
    // exit(), not quit(): quit() first asks every window to close and gives
    // up when one of them refuses.
    QMetaObject::invokeMethod(QCoreApplication::instance(), [code] { QCoreApplication::exit(code); }, Qt::QueuedConnection);
}

void setHaltHandler(std::function<void()> handler)
{
    haltHandler() = std::move(handler);
}

} // namespace ven
