// Starting a register program through the shell's "Start" verb, and its log line.
#include "registers/RunProgram.h"

#include "core/ActivityLog.h"
#include "data/Dictionary.h"
#include "platform/ErrorReporter.h"
#include "platform/Shell.h"

namespace ven {

void startRegisteredProgram(const Record& prg, QObject* window)
{
    // The start folder is handed to the shell, which starts the program
    // there; the process's own current folder stays as it is.
    ShellWindow = window;
    ShellOperation = QStringLiteral("Start");
    ShellFile = prg.str(PRG::PROGPATH).trimmed();
    ShellParameters = prg.str(PRG::PARAMETERS).trimmed();
    ShellDirectory = prg.str(PRG::STARTPATH).trimmed();
    ShellShowCmd = 1;
    ShellExecute();
    const LineResult logged = ActivityLogLine(ShellDirectory + "> " + ShellFile + ' ' + ShellParameters);
    for (const QString& m : logged.messages)
        messageBox(m);
}

} // namespace ven
