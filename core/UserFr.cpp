// The user form: a new user starts with the current user's name; OK needs a
// password, repeated in "Again:", before the request completes. The password
// is typed afresh for every request (the file keeps only its hash).
#include "core/UserFr.h"

#include "core/Globals.h"
#include "core/UserPasswords.h"
#include "data/Dictionary.h"
#include "platform/ErrorReporter.h"
#include "platform/RecordForm.h"

namespace ven {
namespace {

const WindowDef kUserFrDef{
    .title = "User Name and Password",
    .w = 200,
    .h = 96,
    .controls = {
        {.name = "Sheet", .kind = Kind::Sheet, .x = 4, .y = 4, .w = 192, .h = 68},
        {.name = "User", .kind = Kind::Tab, .text = "User", .parent = "Sheet"},
        {.name = "NamePrompt", .kind = Kind::Prompt, .text = "Name:", .x = 10, .y = 22, .w = 30, .h = 10, .parent = "User"},
        {.name = "Name", .kind = Kind::Entry, .x = 44, .y = 22, .w = 144, .h = 10, .parent = "User", .picture = "s39",
         .tip = "Enter Complete User Name", .use = "USR:NAME"},
        {.name = "PwdPrompt", .kind = Kind::Prompt, .text = "Pwd:", .x = 10, .y = 38, .w = 30, .h = 10, .parent = "User"},
        {.name = "Pwd", .kind = Kind::Entry, .x = 44, .y = 38, .w = 50, .h = 10, .parent = "User", .picture = "s8",
         .tip = "Enter Your Password (Max 8 Characters)", .flags = Password},
        {.name = "AgainPrompt", .kind = Kind::Prompt, .text = "Again:", .x = 10, .y = 54, .w = 30, .h = 10, .parent = "User"},
        {.name = "Again", .kind = Kind::Entry, .x = 44, .y = 54, .w = 50, .h = 10, .parent = "User", .picture = "s8",
         .tip = "Enter Your Password Again", .flags = Password},
        {.name = "OK", .kind = Kind::Button, .text = "&OK", .x = 62, .y = 78, .w = 42, .h = 14, .flags = Default},
        {.name = "Cancel", .kind = Kind::Button, .text = "Cancel", .x = 108, .y = 78, .w = 42, .h = 14,
         .closes = RequestCancelled},
        {.name = "Help", .kind = Kind::Button, .text = "Help", .x = 154, .y = 78, .w = 42, .h = 14, .flags = HelpButton},
    }};

const std::pair<uint8_t, const char*> kTitles[] = {
    {InsertRecord, "Adding User"}, {ChangeRecord, "Changing User"}, {DeleteRecord, "Deleting User"}};

// A password as it is kept: blank-padded, so trailing blanks do not count.
// Leading blanks do: they are part of what the log-in must match.
QString clipped(QString s)
{
    while (!s.isEmpty() && s.back() == QLatin1Char(' '))
        s.chop(1);
    return s;
}

class UserFr : public RecordForm {
public:
    UserFr() : RecordForm(QStringLiteral("UserFr"), kUserFrDef, VenUsr)
    {
        FIRSTFIELD = QStringLiteral("Name");
        setTitles(kTitles);
    }

protected:
    void primeFields(bool copy) override
    {
        if (!copy)
            primary().rec().set(USR::NAME, CurrentUser);
    }

    // Every request, delete included, needs the password twice.
    void accepted(const QString& c) override
    {
        if (c == OKCONTROL) {
            const QString pwd = clipped(control("Pwd").text());
            const char* refusal = pwd.isEmpty()                            ? "Password Mandatory"
                                  : pwd != clipped(control("Again").text()) ? "Incorrect Password"
                                                                           : nullptr;
            if (refusal) {
                messageBox(QString::fromUtf8(refusal), QStringLiteral("Error!"), Icon::Exclamation);
                control("Pwd").select();
                return;
            }
            // The file keeps the password's hash only.
            QString why;
            const QString hash = userPasswordHash(pwd, &why);
            if (hash.isEmpty()) {
                messageBox(why, QStringLiteral("Error!"), Icon::Stop);
                return;
            }
            // A user is deleted only with the user's own password.
            if (REQUEST == DeleteRecord && primary().rec().str(USR::PWD).trimmed() != hash) {
                messageBox(QStringLiteral("Incorrect Password"), QStringLiteral("Error!"), Icon::Exclamation);
                control("Pwd").select();
                return;
            }
            primary().rec().set(USR::PWD, hash);
        }
        RecordForm::accepted(c);
    }
};

} // namespace

std::unique_ptr<WindowController> makeUserFr(const QString&)
{
    return std::make_unique<UserFr>();
}

} // namespace ven
