// The editor launchers' shared window and the activity log's folder.
#include "core/EditorLauncher.h"

#include "core/FrameSettings.h"
#include "core/Globals.h"
#include "platform/ErrorReporter.h"
#include "platform/Ini.h"
#include "platform/Shell.h"

#include <QFile>
#include <QFileInfo>

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

bool makeMissingTextFile(const QString& file, const QString& builtIn)
{
    if (QFileInfo::exists(file))
        return true;
    bool made = false;
    if (!builtIn.isEmpty() && QFile::copy(builtIn, file)) {
        // A copy of a resource is read-only; the user's copy is to be edited, and
        // is private like every other file of the program.
        made = QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
    } else {
        QFile f(file);
        made = f.open(QIODevice::WriteOnly | QIODevice::NewOnly) || QFileInfo::exists(file);
    }
    if (!made)
        messageBox(file + "|File could NOT be opened", "Error!", Icon::Stop);
    return made;
}

QString activityLogFolder()
{
    QString folder = readIni(ProgramIni(), QStringLiteral("Paths"), QStringLiteral("Daily_Notes"), {});
    if (folder.trimmed().isEmpty())
        folder = Daily_Notes.trimmed().isEmpty() ? Program_Path : Daily_Notes;
    return folder;
}

} // namespace ven
