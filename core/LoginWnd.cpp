// The log-in window: looks the typed password up in the user file.
#include "core/LoginWnd.h"

#include "core/ActivityLog.h"
#include "core/Globals.h"
#include "core/Halt.h"
#include "core/OwnerProfile.h"
#include "core/UserPasswords.h"
#include "data/Dictionary.h"
#include "platform/Clock.h"
#include "platform/ErrorReporter.h"
#include "platform/Picture.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QVBoxLayout>

namespace ven {

namespace {

constexpr int kAttemptsAsked = 3;       // failures that ask "Try Again?"; the next one ends
constexpr qint64 kTitleAfterMs = 5000;  // the title turns into a clock after this

const WindowDef kLoginWndDef{
    .title = "Login",
    .w = 200,
    .h = 104,
    .timer = 100,
    .controls = {
        {.name = "Caption", .kind = Kind::Prompt, .text = "Vendrolix", .x = 30, .y = 6, .w = 160, .h = 24,
         .font = {nullptr, 20, true}},
        {.name = "Logo", .kind = Kind::Image, .x = 6, .y = 8, .w = 17, .h = 17, .icon = "Tarn-Vel.gif"},
        {.name = "PasswordPrompt", .kind = Kind::Prompt, .text = "Password:", .x = 30, .y = 44, .w = 40, .h = 10},
        {.name = "Password", .kind = Kind::Entry, .x = 74, .y = 43, .w = 50, .h = 12, .picture = "s8",
         .tip = "Please Enter Your Password", .flags = Password},
        {.name = "OK", .kind = Kind::Button, .text = "OK", .x = 132, .y = 41, .w = 40, .h = 16, .tip = "Ok",
         .flags = Default},
    }};

class LoginWnd : public WindowController {
public:
    LoginWnd() : WindowController(QStringLiteral("LoginWnd"), kLoginWndDef) {}

protected:
    bool setUp() override
    {
        if (!openFile(VenUsr).ok())
            return false;  // the frame has checked the file; nothing to log in with
        // A file of plain passwords is kept hashed from now on.
        if (Status st = hashPlainPasswords(usr()); !st)
            messageBox(QStringLiteral("VenUsr: the passwords cannot be stored hashed: ") + st.errorText,
                       QStringLiteral("Error!"), Icon::Exclamation);
        Program_Path = QDir::currentPath();
        window().setTitle(QStringLiteral("Login: ") + VersionLabel);
        control("OK").as<QPushButton>()->setIcon(QApplication::style()->standardIcon(QStyle::SP_DialogOkButton));
        control("Password").widget()->setStatusTip(QStringLiteral("Please Enter Your Password"));
        buildStatusBar();
        armAlertKey(Qt::Key_Escape);
        armAlertKey((Qt::ALT | Qt::Key_F4).toCombined());
        usr().rec().clear();
        return true;
    }

    void windowEvent(Event e) override
    {
        if (e == Event::AlertKey)
            return;  // Esc and Alt+F4 must not close the log-in
        WindowController::windowEvent(e);
        if (e == Event::OpenWindow) {
            openedAt_ = clock().now();
            // Without the key no password can be checked: say so before any is typed.
            if (const QString missing = userPasswordKeyMissing(); !missing.isEmpty())
                messageBox(missing, QStringLiteral("Error!"), Icon::Stop);
            control("Password").select();
        } else if (e == Event::Timer && openedAt_.msecsTo(clock().now()) > kTitleAfterMs) {
            window().setTitle(QStringLiteral("Login Vendrolix on ") + DateLine + QStringLiteral(" at ")
                              + formatTime(clock().time(), u"T04"));
        }
    }

    void accepted(const QString& name) override
    {
        if (name == u"Password")
            lookUp();
        else if (name == u"OK")
            ok();
        else
            WindowController::accepted(name);
    }

    bool closeRequested() override
    {
        if (loggedIn_ || halted_)
            return true;
        // The close box: without a user the program ends; with one it goes on.
        if (!userFound()) {
            halt();
            return true;
        }
        CurrentUser = usr().rec().str(USR::NAME);
        RESPONSE = RequestCompleted;
        return true;
    }

private:
    KeyedFile& usr() { return file(VenUsr); }
    QString typed() { return control("Password").text().left(8); }
    bool userFound() { return !usr().rec().str(USR::NAME).trimmed().isEmpty(); }

    void buildStatusBar()
    {
        const OwnerProfile owner = readOwnerProfile();
        auto* bar = new QStatusBar(&window());
        bar->setObjectName(QStringLiteral("StatusBar"));
        bar->setSizeGripEnabled(false);
        const QString zones[] = {owner.EMail, owner.FirstName + u' ' + owner.LastName, Program_Path};
        for (const QString& text : zones)
            bar->addWidget(new QLabel(text, bar), 1);
        auto* layout = new QVBoxLayout(&window());
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addStretch(1);
        layout->addWidget(bar);
    }

    // Finds the user whose password was typed; the buffer is cleared when none has it.
    void lookUp()
    {
        KeyedFile& f = usr();
        f.rec().clear();
        const QString pwd = typed();
        if (!pwd.trimmed().isEmpty()) {
            if (pwd != hashedTyped_) {
                hash_ = userPasswordHash(pwd, &hashFailure_);
                hashedTyped_ = pwd;
            }
            f.rec().set(USR::PWD, hash_);
            if (hash_.isEmpty() || !f.get(USR::PWD_KEY).ok())
                f.rec().clear();
        }
        window().display();
    }

    void ok()
    {
        lookUp();  // the entry as it stands now, whether or not it was accepted
        if (hash_.isEmpty() && !typed().trimmed().isEmpty()) {
            // The password was not checked (its key cannot be had): no wrong try.
            hashedTyped_.clear();
            messageBox(hashFailure_, QStringLiteral("Error!"), Icon::Stop);
            control("Password").select();
            return;
        }
        if (userFound()) {
            CurrentUser = usr().rec().str(USR::NAME);
            loggedIn_ = true;
            close(RequestCompleted);
            return;
        }
        // The typed text stays out of the log: a near miss would put most of
        // a real password into a plain text file.
        TellLineResult(ActivityLogLine(QStringLiteral("Wrong Password")));
        ++failures_;
        if (failures_ <= kAttemptsAsked) {
            control("Password").setText({});
            if (messageBox(QStringLiteral("Wrong Password|Try Again?"), QStringLiteral("Error!"), Icon::Question,
                           QStringLiteral("&Yes|&No"))
                == 1)
                control("Password").select();
            else
                halt();
            return;
        }
        messageBox(QStringLiteral("Wrong Password"), QStringLiteral("Error!"), Icon::Stop);
        halt();
    }

    void halt()
    {
        halted_ = true;
        HaltNotRunning();
    }

    QString hashedTyped_, hash_;  // the text last looked up and its hash (hashing is slow on purpose)
    QString hashFailure_;         // why the last hash could not be made
    QDateTime openedAt_;
    uint8_t failures_ = 0;
    bool loggedIn_ = false, halted_ = false;
};

} // namespace

std::unique_ptr<WindowController> makeLoginWnd(const QString&)
{
    return std::make_unique<LoginWnd>();
}

} // namespace ven
