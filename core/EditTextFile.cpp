// EditTextFile: the file of the shell-launch block in the user's editor,
// with the block's working folder as it stands.
#include "core/EditTextFile.h"

#include "core/EditorLauncher.h"

namespace ven {

std::unique_ptr<WindowController> makeEditTextFile(const QString&)
{
    return std::make_unique<EditorLauncher>(QStringLiteral("EditTextFile"), [] {});
}

} // namespace ven
