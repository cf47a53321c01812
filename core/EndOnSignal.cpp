// Signals that end the program, taken up through a pipe by the event loop.
#include "core/EndOnSignal.h"

#include "core/ActivityLog.h"
#include "core/FrameSettings.h"
#include "core/Globals.h"
#include "core/Halt.h"
#include "platform/Procedure.h"
#include "platform/TellOnce.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace ven {
namespace {

int pipeFds[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(pipeFds[1], &byte, 1);
}

} // namespace

void EndFromOutside()
{
    writeIniTold(ProgramIni(), "Main", "Vendrolix:Running", "No");
    if (Log_Activity != u"N" && !CurrentUser.isEmpty())
        TellLineResult(ActivityLogLine("Logout: " + CurrentUser + " (" + Program_Path + ")"));
    EndEventLoop(0);
}

void EndOnSignals()
{
    if (pipeFds[0] >= 0 || ::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    auto* notifier = new QSocketNotifier(pipeFds[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, [notifier] {
        char bytes[16];
        while (::read(pipeFds[0], bytes, sizeof bytes) > 0) {
        }
        notifier->setEnabled(false);  // one end is enough
        EndFromOutside();
    });
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(sig, &sa, nullptr);
}

} // namespace ven
