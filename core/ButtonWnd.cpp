// The floating button: 20 x 20 units without a title, on top, at a random
// place within the frame's last extent and always on the screen.
#include "core/ButtonWnd.h"

#include "core/Globals.h"

#include <QRandomGenerator>
#include <QWidget>

namespace ven {
namespace {

const WindowDef kButtonDef{
    .title = "Vendrolix",
    .w = 20,
    .h = 20,
    .icon = "Vendrolix.ico",
    .timer = 1500,
    .frame = Frame::NoTitle,
    .onTop = true,
    .controls = {
        {.name = "Hot", .kind = Kind::Region, .x = 0, .y = 0, .w = 20, .h = 20},
        {.name = "Smile", .kind = Kind::Button, .x = 0, .y = 0, .w = 20, .h = 20, .tip = "Vendrolix", .icon = "smiling.gif"},
    }};

class ButtonWnd : public WindowController {
public:
    ButtonWnd() : WindowController(QStringLiteral("ButtonWnd"), kButtonDef) {}

    int escapesLeft() const { return escapes_; }

protected:
    bool setUp() override
    {
        escapes_ = int(QRandomGenerator::global()->bounded(3, 13));
        return true;
    }

    void windowEvent(Event e) override
    {
        WindowController::windowEvent(e);
        if (e == Event::OpenWindow) {
            jump();
            activate();
        } else if (e == Event::Timer) {
            jump();
        }
    }

    void fieldEvent(const QString& control, FieldEvent e) override
    {
        if (e == FieldEvent::MouseIn) {
            if (escapes_ >= 0) {
                jump();
                --escapes_;
            } else {
                close(RequestCompleted);
            }
            return;
        }
        WindowController::fieldEvent(control, e);
    }

    void accepted(const QString& control) override
    {
        if (control == u"Smile")
            return close(RequestCompleted);
        WindowController::accepted(control);
    }

    void tearDown() override
    {
        window().outer()->raise();
        RestoreRequested = 1;
    }

private:
    // A random place within the frame's extent, kept on the screen.
    void jump()
    {
        QWidget* w = window().outer();
        const QRect area = window().availableArea();
        const int right = FrameRight > 0 ? FrameRight : area.right();
        const int bottom = FrameBottom > 0 ? FrameBottom : area.bottom();
        auto* random = QRandomGenerator::global();
        w->move(int(random->bounded(std::max(1, right + 1))), int(random->bounded(std::max(1, bottom + 1))));
        window().keepOnArea();
    }

    int escapes_ = 0;
};

} // namespace

std::unique_ptr<WindowController> makeButtonWnd(const QString&)
{
    return std::make_unique<ButtonWnd>();
}

} // namespace ven
