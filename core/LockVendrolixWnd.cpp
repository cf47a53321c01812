// The lock window. The password lives only in this window's memory while
// it is open: its entries are bound to nothing, so it reaches no record,
// setting, history or log. While locked the program's other top-level
// windows are hidden and the frame keeps itself iconized (core/Main.cpp).
#include "core/LockVendrolixWnd.h"

#include "core/Globals.h"
#include "platform/Procedure.h"

#include <QPointer>
#include <QWidget>

namespace ven {
namespace {

const WindowDef kLockDef{
    .title = "Lock Vendrolix",
    .w = 129,
    .h = 57,
    .icon = "Vendrolix.ico",
    .frame = Frame::NoTitle,
    .placement = Placement::Centred,
    .controls = {
        {.name = "LockPrompt", .kind = Kind::Prompt, .text = "Lock Password:", .x = 4, .y = 6, .w = 54, .h = 10},
        {.name = "LockPwd", .kind = Kind::Entry, .x = 60, .y = 5, .w = 64, .h = 11, .picture = "s8", .flags = Password},
        {.name = "OpenPrompt", .kind = Kind::Prompt, .text = "Open Password:", .x = 4, .y = 21, .w = 54, .h = 10},
        {.name = "OpenPwd", .kind = Kind::Entry, .x = 60, .y = 20, .w = 64, .h = 11, .picture = "s8", .flags = Password | Disabled},
        {.name = "Lock", .kind = Kind::Button, .text = "Lock", .x = 4, .y = 38, .w = 38, .h = 14, .flags = Default},
        {.name = "Cancel", .kind = Kind::Button, .text = "Cancel", .x = 45, .y = 38, .w = 38, .h = 14, .closes = RequestCancelled},
        {.name = "Open", .kind = Kind::Button, .text = "Open", .x = 86, .y = 38, .w = 38, .h = 14, .flags = Disabled},
    }};

QString withoutTrailingBlanks(QString s)
{
    while (!s.isEmpty() && s.back() == u' ')
        s.chop(1);
    return s;
}

class LockVendrolixWnd : public WindowController {
public:
    LockVendrolixWnd() : WindowController(QStringLiteral("LockVendrolixWnd"), kLockDef) {}
    ~LockVendrolixWnd() override { password_.fill(u' '); }

protected:
    bool setUp() override
    {
        // Neither closes the window: they are heard and do nothing.
        armAlertKey(Qt::Key_Escape);
        armAlertKey((Qt::ALT | Qt::Key_F4).toCombined());
        armAlertKey(Qt::Key_Return, QStringLiteral("OpenPwd"));
        armAlertKey(Qt::Key_Enter, QStringLiteral("OpenPwd"));
        FIRSTFIELD = QStringLiteral("LockPwd");
        return true;
    }

    void fieldEvent(const QString& control, FieldEvent e) override
    {
        if (control == u"OpenPwd" && e == FieldEvent::AlertKey)
            return open();
        WindowController::fieldEvent(control, e);
    }

    void accepted(const QString& control) override
    {
        if (control == u"Lock")
            return lock();
        if (control == u"Open")
            return open();
        WindowController::accepted(control);
    }

    // Locked, only the password closes it (the window manager's close included).
    bool closeRequested() override { return !locked_ || unlocked_; }

    void tearDown() override
    {
        ProgramLocked = 0;
        showHidden();
    }

private:
    void lock()
    {
        const QString typed = withoutTrailingBlanks(control("LockPwd").text());
        if (typed.isEmpty()) {
            control("LockPwd").select();
            return;
        }
        password_ = typed;
        locked_ = true;
        control("LockPwd").setText({});
        control("LockPwd").disable();
        control("Lock").disable();
        control("OpenPwd").enable();
        control("Open").enable();
        control("Cancel").hide();
        control("OpenPwd").select();
        LockRequested = 1;
        ProgramLocked = 1;
        hideOthers();
    }

    void open()
    {
        if (!locked_)
            return;
        if (withoutTrailingBlanks(control("OpenPwd").text()) != password_) {
            control("OpenPwd").setText({});
            control("OpenPwd").select();
            return;
        }
        unlocked_ = true;
        password_.fill(u' ');
        password_.clear();
        UnlockRequested = 1;
        close(RequestCompleted);
    }

    // The program's other top-level windows, hidden while it is locked (the
    // frame's children go with the frame).
    void hideOthers()
    {
        for (WindowController* w : WindowController::openWindows()) {
            QWidget* outer = w == this ? nullptr : w->window().outer();
            if (!outer || !outer->isWindow() || !outer->isVisible() || w->procedure() == u"Main")
                continue;
            outer->hide();
            hidden_.emplace_back(outer);
        }
    }
    void showHidden()
    {
        for (const QPointer<QWidget>& w : hidden_)
            if (w)
                w->show();
        hidden_.clear();
    }

    QString password_;
    bool locked_ = false, unlocked_ = false;
    std::vector<QPointer<QWidget>> hidden_;
};

} // namespace

std::unique_ptr<WindowController> makeLockVendrolixWnd(const QString&)
{
    return std::make_unique<LockVendrolixWnd>();
}

} // namespace ven
