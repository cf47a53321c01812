// The program's end when the user's log-on ends.
#include "core/EndSessionLogout.h"

#include "core/ActivityLog.h"
#include "core/DateHelpers.h"
#include "core/FrameSettings.h"
#include "core/Globals.h"
#include "core/Halt.h"
#include "platform/Clock.h"
#include "platform/Ini.h"
#include "platform/Picture.h"
#include "platform/Procedure.h"

#include <QFileInfo>

namespace ven {

void EndSessionLogout()
{
    writeIni(ProgramIni(), "Main", "Vendrolix:Running", "No");
    if (Log_Activity.trimmed() != u"N") {
        // The log folder as the settings file has it now; a blank entry
        // means the folder the program is using.
        QString folder = readIni(ProgramIni(), "Paths", "Daily_Notes", {});
        if (folder.trimmed().isEmpty())
            folder = Daily_Notes.isEmpty() ? Program_Path : Daily_Notes;
        TextFileName = joinPath(folder, ActivityLogName);
        bool ok = true;
        if (!QFileInfo::exists(TextFileName))
            ok = AppendTextLine(DateLine + QStringLiteral("\r\n")).ok();
        const QString time = formatTime(clock().time(), u"T04");
        if (ok)
            ok = AppendTextLine(time + QStringLiteral(" Logout: ") + CurrentUser + QStringLiteral(" [") + Program_Path
                                + u']')
                     .ok();
        if (ok)
            AppendTextLine(time + QStringLiteral(" Exit Windows!\r\n"));
        TextFileName.clear();
        LogWritten = 1;
    }
    HaltProgram();
}

} // namespace ven
