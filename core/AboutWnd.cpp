// The about window: its title names the version and build; its bar fills
// over about five minutes, then the floating button stands in for it.
#include "core/AboutWnd.h"

#include "core/Globals.h"
#include "core/Procedures.h"
#include "platform/Clock.h"
#include "platform/DateTime.h"
#include "platform/ErrorReporter.h"
#include "platform/Picture.h"

namespace ven {
namespace {

constexpr int kFull = 600;
constexpr int kOldAfterDays = 30;

const WindowDef kAboutDef{
    .title = "About Vendrolix",
    .w = 310,
    .h = 176,
    .icon = "Vendrolix.ico",
    .timer = 100,
    .placement = Placement::Centred,
    .controls = {
        {.name = "Rings", .kind = Kind::Image, .x = 0, .y = 0, .w = 310, .h = 176, .icon = "U_Rings.gif"},
        {.name = "Version", .kind = Kind::String, .x = 8, .y = 8, .w = 294, .h = 24, .font = {.points = 18, .bold = true},
         .color = 0x000080},
        {.name = "Continue", .kind = Kind::Button, .text = "Continue", .x = 128, .y = 150, .w = 54, .h = 14, .flags = Default},
        {.name = "Progress", .kind = Kind::Progress, .x = 0, .y = 172, .w = 310, .h = 4, .low = 0, .high = kFull},
    }};

class AboutWnd : public WindowController {
public:
    AboutWnd() : WindowController(QStringLiteral("AboutWnd"), kAboutDef) {}

protected:
    bool setUp() override
    {
        window().bind(QStringLiteral("Progress"), bindTo(counter_));
        control("Version").setText(VersionLabel);
        return true;
    }

    void windowEvent(Event e) override
    {
        WindowController::windowEvent(e);
        if (e == Event::OpenWindow)
            window().setTitle(VersionLabel + ", Compiled " + formatDate(BuildDate, u"D06-B") + " at "
                              + formatTime(BuildTime, u"T01B"));
        if (e != Event::Timer)
            return;
        counter_ += 2;
        window().display(QStringLiteral("Progress"));
        if (counter_ >= kFull) {
            startProcedure(QStringLiteral("ButtonWnd"));
            close(RequestCompleted);
        }
    }

    void fieldEvent(const QString& control, FieldEvent e) override
    {
        if (e == FieldEvent::RightClick) {
            counter_ = 0;
            window().display(QStringLiteral("Progress"));
        }
        WindowController::fieldEvent(control, e);
    }

    void accepted(const QString& control) override
    {
        if (control == u"Continue") {
            if (clock().today() - BuildDate > kOldAfterDays)
                messageBox(QStringLiteral("This version is rather old!||Vendrolix is under constant development.||"
                                          "Please get a new version from my Home Page!"),
                           QStringLiteral("Warning!"), Icon::Exclamation);
            close(RequestCompleted);
            return;
        }
        WindowController::accepted(control);
    }

private:
    int32_t counter_ = 0;
};

} // namespace

std::unique_ptr<WindowController> makeAboutWnd(const QString&)
{
    return std::make_unique<AboutWnd>();
}

} // namespace ven
