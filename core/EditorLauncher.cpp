// The editor launchers' shared window and the activity log's folder.
#include "core/EditorLauncher.h"

#include "core/FrameSettings.h"
#include "core/Globals.h"
#include "platform/Ini.h"
#include "platform/Shell.h"

namespace ven {
namespace {

const WindowDef& launcherDef()
{
    static const WindowDef def{.title = "", .w = 160, .h = 0, .controls = {}};
    return def;
}

} // namespace

EditorLauncher::EditorLauncher(const QString& procedure, std::function<void()> fill)
    : WindowController(procedure, launcherDef()), fill_(std::move(fill))
{
}

void EditorLauncher::windowEvent(Event e)
{
    WindowController::windowEvent(e);
    if (e != Event::OpenWindow)
        return;
    fill_();
    ShellWindow = &window();
    ShellOperation = QStringLiteral("Open");
    ShellParameters.clear();
    ShellShowCmd = 1;
    ShellExecute();  // a failure is only kept in ShellResult
    close(RequestCompleted);
}

QString activityLogFolder()
{
    QString folder = readIni(ProgramIni(), QStringLiteral("Paths"), QStringLiteral("Daily_Notes"), {});
    if (folder.trimmed().isEmpty())
        folder = Daily_Notes.trimmed().isEmpty() ? Program_Path : Daily_Notes;
    return folder;
}

} // namespace ven
