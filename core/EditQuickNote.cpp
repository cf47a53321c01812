// EditQuickNote: the quick memo in the user's editor.
#include "core/EditQuickNote.h"

#include "core/DateHelpers.h"
#include "core/EditorLauncher.h"
#include "platform/Shell.h"

namespace ven {

std::unique_ptr<WindowController> makeEditQuickNote(const QString&)
{
    return std::make_unique<EditorLauncher>(QStringLiteral("EditQuickNote"), [] {
        ShellFile = joinPath(Program_Path, QStringLiteral("VenMemo.txt"));
        ShellDirectory = Program_Path;
        makeMissingTextFile(ShellFile);
    });
}

} // namespace ven
