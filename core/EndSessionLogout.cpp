// The program's end when the user's log-on ends.
#include "core/EndSessionLogout.h"

#include "core/ActivityLog.h"
#include "core/DateHelpers.h"
#include "core/FrameSettings.h"
#include "core/Globals.h"
#include "core/Halt.h"
#include "platform/Clock.h"
#include "platform/Ini.h"
#include "platform/TellOnce.h"
#include "platform/Picture.h"
#include "platform/Procedure.h"


namespace ven {

void EndSessionLogout()
{
    writeIniTold(ProgramIni(), "Main", "Vendrolix:Running", "No");
    if (Log_Activity.trimmed() != u"N") {
        // The log folder as the settings file has it now; a blank entry
        // means the folder the program is using.
        QString folder = readIni(ProgramIni(), "Paths", "Daily_Notes", {});
        if (folder.trimmed().isEmpty())
            folder = Daily_Notes.isEmpty() ? Program_Path : Daily_Notes;
        const QString time = formatTime(clock().time(), u"T04");
        TellLineResult(AppendTextLines(joinPath(folder, ActivityLogName),
                        {time + QStringLiteral(" Logout: ") + CurrentUser + QStringLiteral(" [") + Program_Path + u']',
                         time + QStringLiteral(" Exit Windows!"), {}},
                        {DateLine, {}}));
        LogWritten = 1;
    }
    HaltProgram();
}

} // namespace ven
