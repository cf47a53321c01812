// EditLog: the current activity-log file in the user's editor; its name is
// quoted so that a log folder with blanks works.
#include "core/EditLog.h"

#include "core/DateHelpers.h"
#include "core/EditorLauncher.h"
#include "core/Globals.h"
#include "platform/Shell.h"

namespace ven {

std::unique_ptr<WindowController> makeEditLog(const QString&)
{
    return std::make_unique<EditorLauncher>(QStringLiteral("EditLog"), [] {
        ShellDirectory = activityLogFolder();
        ShellFile = u'"' + joinPath(ShellDirectory, ActivityLogName) + u'"';
    });
}

} // namespace ven
