// ViewLogWnd: the current activity log; each tick that finds a new line
// written reads the log again, so the view follows it.
#include "core/ViewLogWnd.h"

#include "core/DateHelpers.h"
#include "core/EditLog.h"
#include "core/EditorLauncher.h"
#include "core/Globals.h"
#include "core/TextViewer.h"
#include "platform/Shell.h"

namespace ven {
namespace {

class ViewLogWnd : public TextViewerWnd {
public:
    ViewLogWnd() : TextViewerWnd(QStringLiteral("ViewLogWnd"), {1, 0x000080, [] { return makeEditLog({}); }}) {}

protected:
    void chooseFile(QString& file, QString& title) override
    {
        ShellDirectory = activityLogFolder();
        ShellFile = joinPath(ShellDirectory, ActivityLogName);
        file = ShellFile;
        title = QStringLiteral("VIEW ") + ActivityLogName;
    }
    void ticked() override
    {
        if (!LogWritten)
            return;
        const int line = viewer().currentLine();
        viewer().open(viewer().file());
        viewer().goToLine(line < 0 ? int(viewer().lines().size()) - 1 : line);
        LogWritten = 0;
    }
};

} // namespace

std::unique_ptr<WindowController> makeViewLogWnd(const QString&) { return std::make_unique<ViewLogWnd>(); }

} // namespace ven
