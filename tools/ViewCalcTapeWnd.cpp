// ViewCalcTapeWnd: the tape in a text viewer list; Edit hands the file to
// the user's editor, Erase (after a question) deletes it when the viewer
// closes and starts a new tape with the version and user and the date.
#include "tools/ViewCalcTapeWnd.h"

#include "core/Globals.h"
#include "core/TextViewer.h"
#include "platform/ErrorReporter.h"
#include "platform/Shell.h"
#include "tools/CalcTape.h"

#include <QDir>
#include <QFile>

namespace ven {
namespace {

const WindowDef kViewCalcTapeDef{
    .title = "View CalcTape.txt",
    .w = 250,
    .h = 150,
    .icon = "CalcTapr3.ico",
    .resizable = true,
    .controls = {
        {.name = "List", .kind = Kind::List, .x = 0, .y = 0, .w = 250, .h = 128, .tip = "Right Click to Search or Print",
         .font = {"Monospace", 10, false}},
        {.name = "Edit", .kind = Kind::Button, .text = "Edit", .x = 74, .y = 132, .w = 54, .h = 14},
        {.name = "Erase", .kind = Kind::Button, .text = "Erase", .x = 132, .y = 132, .w = 54, .h = 14},
        {.name = "Close", .kind = Kind::Button, .text = "&Close", .x = 190, .y = 132, .w = 54, .h = 14,
         .flags = Default, .closes = RequestCancelled},
    }};

class ViewCalcTapeWnd : public WindowController {
public:
    ViewCalcTapeWnd() : WindowController(QStringLiteral("ViewCalcTapeWnd"), kViewCalcTapeDef)
    {
        auto v = std::make_unique<TextViewer>(*this, QStringLiteral("List"), kNoColor);
        viewer_ = v.get();
        addPart(std::move(v));
    }

protected:
    bool setUp() override
    {
        viewer_->open(calcTapeFile());
        viewer_->goToLine(0);
        return true;
    }

    void accepted(const QString& c) override
    {
        if (c == u"Edit") {
            ShellWindow = &window();
            ShellOperation = QStringLiteral("Open");
            ShellFile = calcTapeFile();
            ShellParameters.clear();
            ShellDirectory = QDir::currentPath();
            ShellShowCmd = 1;
            ShellExecute();  // a failure is kept in ShellResult and told to the shell's hook
            close(RequestCompleted);
            return;
        }
        if (c == u"Erase") {
            if (messageBox(QStringLiteral("Are you sure you want to delete CalcTape.txt?"), QStringLiteral("Warning!"),
                           Icon::Question, QStringLiteral("&Yes|&No"), 2)
                == 1) {
                erase_ = true;
                close(RequestCompleted);
            }
            return;
        }
        WindowController::accepted(c);
    }

    void tearDown() override
    {
        viewer_->close();
        if (!erase_)
            return;
        const QString tape = calcTapeFile();
        if (QFile::exists(tape) && !QFile::remove(tape)) {
            messageBox(tape + QStringLiteral(" could NOT be deleted"));
            return;
        }
        if (appendTapeLine(VersionLabel + QStringLiteral(", User: ") + CurrentUser))
            appendTapeLine(QStringLiteral("Calculations Cleared ") + DateLine + QStringLiteral("\r\n"));
    }

private:
    TextViewer* viewer_ = nullptr;
    bool erase_ = false;
};

} // namespace

std::unique_ptr<WindowController> makeViewCalcTapeWnd(const QString&) { return std::make_unique<ViewCalcTapeWnd>(); }

} // namespace ven
