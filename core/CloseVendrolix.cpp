// The close question, with its one-minute progress bar.
#include "core/CloseVendrolix.h"

#include "core/Globals.h"

#include <QApplication>
#include <QPushButton>
#include <QStyle>

namespace ven {

namespace {

constexpr uint8_t kTicksAllowed = 60;  // a tick a second: the bar's range

const WindowDef kCloseVendrolixDef{
    .title = "",
    .w = 164,
    .h = 52,
    .timer = 100,
    .controls = {
        {.name = "Question", .kind = Kind::Prompt, .text = "Are you sure you want to close Vendrolix?", .x = 6,
         .y = 4, .w = 152, .h = 10},
        {.name = "Yes", .kind = Kind::Button, .text = "Yes", .x = 30, .y = 18, .w = 44, .h = 16},
        {.name = "No", .kind = Kind::Button, .text = "No", .x = 90, .y = 18, .w = 44, .h = 16, .flags = Default},
        {.name = "Progress", .kind = Kind::Progress, .x = 0, .y = 44, .w = 164, .h = 8, .low = 0, .high = 60},
    }};

class CloseVendrolix : public WindowController {
public:
    CloseVendrolix() : WindowController(QStringLiteral("CloseVendrolix"), kCloseVendrolixDef) {}

protected:
    bool setUp() override
    {
        // One question at a time: a close asked for again while it is open
        // (Alt+F4 on one window after another) brings that one forward.
        for (WindowController* w : openWindows())
            if (w != this && w->procedure() == procedure()) {
                w->post(Event::GainFocus);
                return false;
            }
        QStyle* style = QApplication::style();
        control("Yes").as<QPushButton>()->setIcon(style->standardIcon(QStyle::SP_DialogOkButton));
        control("No").as<QPushButton>()->setIcon(style->standardIcon(QStyle::SP_DialogCancelButton));
        window().bind("Progress", bindTo(ticks_));
        armAlertKey(Qt::Key_Escape);
        return true;
    }

    void windowEvent(Event e) override
    {
        if (e == Event::AlertKey) {
            if (alertKey() == Qt::Key_Escape)
                close(RequestCancelled);  // CloseRequested stays as it is
            return;
        }
        WindowController::windowEvent(e);
        if (e == Event::OpenWindow) {
            control("No").select();
        } else if (e == Event::Timer && !answered_) {
            ++ticks_;
            window().display("Progress");
            if (ticks_ > kTicksAllowed)
                answer(1);
        }
    }

    void accepted(const QString& name) override
    {
        if (name == u"Yes")
            answer(1);
        else if (name == u"No")
            answer(0);
        else
            WindowController::accepted(name);
    }

private:
    void answer(uint8_t close)
    {
        answered_ = true;
        CloseRequested = close;
        this->close(close ? RequestCompleted : RequestCancelled);
    }

    uint8_t ticks_ = 0;
    bool answered_ = false;
};

} // namespace

std::unique_ptr<WindowController> makeCloseVendrolix(const QString&)
{
    return std::make_unique<CloseVendrolix>();
}

} // namespace ven
