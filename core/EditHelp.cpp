// EditHelp: the help text in the user's editor.
#include "core/EditHelp.h"

#include "core/DateHelpers.h"
#include "core/EditorLauncher.h"
#include "platform/Shell.h"

namespace ven {

std::unique_ptr<WindowController> makeEditHelp(const QString&)
{
    return std::make_unique<EditorLauncher>(QStringLiteral("EditHelp"), [] {
        ShellFile = joinPath(Program_Path, QStringLiteral("VenHelp.txt"));
        ShellDirectory = Program_Path;
        makeMissingTextFile(ShellFile, QStringLiteral(":/help/VenHelp.txt"));
    });
}

} // namespace ven
