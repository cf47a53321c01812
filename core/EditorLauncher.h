// The editor launchers' shared window: a window of no height that opens one
// file in the user's own editor through the shell and closes at once.
#pragma once

#include "platform/WindowController.h"

#include <functional>

namespace ven {

class EditorLauncher : public WindowController {
    Q_OBJECT
public:
    // `fill` sets ShellFile and ShellDirectory just before the call.
    EditorLauncher(const QString& procedure, std::function<void()> fill);

protected:
    void windowEvent(Event e) override;

private:
    std::function<void()> fill_;
};

// Makes `file` when it does not exist yet, so that an editor has it to
// open: a copy of `builtIn` (a resource) when given, else empty. False, and
// the user told, when it cannot be made.
bool makeMissingTextFile(const QString& file, const QString& builtIn = {});

// The folder of the activity log: the [Paths] "Daily_Notes" entry of the
// program's settings file; a blank entry means the folder in use.
QString activityLogFolder();

} // namespace ven
