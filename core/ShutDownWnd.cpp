// The shut-down window: Cancel closes it; the restart and shut-down buttons
// ask the session manager and show its refusal before the window closes.
#include "core/ShutDownWnd.h"

#include "platform/ErrorReporter.h"
#include "platform/Session.h"

#include <QAbstractButton>
#include <QApplication>
#include <QStyle>

namespace ven {
namespace {

const WindowDef kShutDownWndDef{
    .title = "Shut Down Windows?",
    .w = 130,
    .h = 40,
    .controls = {
        {.name = "Cancel", .kind = Kind::Button, .x = 6, .y = 6, .w = 36, .h = 28, .tip = "\n  Cancel  \n",
         .flags = Default, .closes = RequestCancelled},
        {.name = "Restart", .kind = Kind::Button, .x = 47, .y = 6, .w = 36, .h = 28, .tip = "\n  Restart Windows  \n"},
        {.name = "ShutDown", .kind = Kind::Button, .x = 88, .y = 6, .w = 36, .h = 28, .tip = "\n  Shut Down Windows  \n"},
    }};

// What each action button does and the text shown when it is refused.
struct Action {
    const char* control;
    QStyle::StandardPixmap icon;
    bool (*perform)(QString*);
    const char* failure;
};
const Action kActions[] = {
    {"Cancel", QStyle::SP_DialogCancelButton, nullptr, nullptr},
    {"Restart", QStyle::SP_ArrowUp, restartComputer, "ExitWindowsEx(EWX_REBOOT, 0) Error!"},
    {"ShutDown", QStyle::SP_ArrowDown, shutDownComputer, "ExitWindowsEx(EWX_SHUTDOWN, 0) Error"},
};

class ShutDownWnd : public WindowController {
public:
    ShutDownWnd() : WindowController(QStringLiteral("ShutDownWnd"), kShutDownWndDef) {}

protected:
    bool setUp() override
    {
        // Stock icons on the three buttons.
        for (const Action& a : kActions)
            if (auto* b = qobject_cast<QAbstractButton*>(control(a.control).widget()))
                b->setIcon(QApplication::style()->standardIcon(a.icon));
        return true;
    }

    void accepted(const QString& c) override
    {
        for (const Action& a : kActions) {
            if (!a.perform || c != QLatin1String(a.control))
                continue;
            QString why;
            const bool done = a.perform(&why);
            if (!done) {
                // The session manager's own reason follows the message.
                QString text = QString::fromUtf8(a.failure);
                if (!why.isEmpty())
                    text += QLatin1Char('|') + why;
                messageBox(text);
            }
            close(done ? RequestCompleted : RequestCancelled);
            return;
        }
        WindowController::accepted(c);
    }
};

} // namespace

std::unique_ptr<WindowController> makeShutDownWnd(const QString&)
{
    return std::make_unique<ShutDownWnd>();
}

} // namespace ven
