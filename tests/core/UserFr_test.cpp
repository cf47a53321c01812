// The users' browse and form through their windows (the password rules,
// duplicates, Insert/Change/Delete) and the shut-down window's buttons with
// a recording session handler.
#include "WindowKit.h"

#include "core/Globals.h"
#include "core/ShutDownWnd.h"
#include "core/UserBr.h"
#include "core/UserFr.h"
#include "core/UserPasswords.h"
#include "data/Dictionary.h"
#include "platform/ErrorReporter.h"
#include "platform/Session.h"

#include <QApplication>

#include <map>

namespace ven::test {
namespace {

void addUser(const QString& name, const QString& pwd)
{
    Context ctx;
    KeyedFile& f = ctx.file(VenUsr);
    ASSERT_TRUE(f.open());
    f.rec().clear();
    f.rec().set(USR::NAME, name);
    f.rec().set(USR::PWD, userPasswordHash(pwd));
    ASSERT_TRUE(f.add());
}

// The stored users as "name=password": the password whose hash the file
// keeps, among the few these tests use; "?" for any other value.
QStringList users()
{
    static const QStringList known{"abc", "pw", "secret", "bert1", "a1", "b1", "b2", "c1"};
    static std::map<QString, QString> byHash;
    Context ctx;
    KeyedFile& f = ctx.file(VenUsr);
    f.open();
    QStringList out;
    for (f.set(USR::NAME_KEY); f.next();) {
        const QString stored = f.rec().str(USR::PWD).trimmed();
        QString plain = "?";
        for (const QString& k : known) {
            const QString key = Store::instance().pathOf(VenUsr) + '\n' + k;  // a hash of each folder's own
            auto it = byHash.find(key);
            if (it == byHash.end())
                it = byHash.emplace(key, userPasswordHash(k)).first;
            if (it->second == stored)
                plain = k;
        }
        out << f.rec().str(USR::NAME) + '=' + plain;
    }
    return out;
}

const QString kForm = QStringLiteral("UserFr");

// Fills the form's entries as a person types them and presses OK.
void fill(WindowKit& kit, const QString& name, const QString& pwd, const QString& again)
{
    if (!name.isNull()) {
        kit.replaceText(kForm, "Name", name);
        kit.tab(kForm);
    }
    kit.replaceText(kForm, "Pwd", pwd);
    kit.tab(kForm);
    kit.replaceText(kForm, "Again", again);
    kit.tab(kForm);
    kit.clearBoxes();
    kit.press(kForm, "OK");
}

TEST(UserFr, PasswordRulesOnOk)
{
    struct Case {
        const char* pwd;
        const char* again;
        const char* refusal;  // nullptr: the user is added
    };
    const Case cases[] = {
        {"", "", "Password Mandatory"},
        {"   ", "   ", "Password Mandatory"},
        {"abc", "abd", "Incorrect Password"},
        {"abc", "", "Incorrect Password"},
        {"abc", "ABC", "Incorrect Password"},
        {" abc", "abc", "Incorrect Password"},  // a leading blank is part of the password
        {"abc", "abc  ", nullptr},
        {"abc  ", "abc", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("pwd '") + c.pwd + "' again '" + c.again + "'");
        WindowKit kit;
        uint8_t response = 0;
        kit.call(makeUserFr({}), InsertRecord, &response);
        fill(kit, "Dora", c.pwd, c.again);
        if (c.refusal) {
            ASSERT_EQ(kit.boxes().size(), 1u);
            EXPECT_EQ(kit.boxes()[0].text, c.refusal);
            EXPECT_EQ(kit.boxes()[0].caption, "Error!");
            EXPECT_EQ(kit.boxes()[0].icon, Icon::Exclamation);
            ASSERT_TRUE(kit.isOpen(kForm));
            EXPECT_EQ(QApplication::focusWidget(), kit.control(kForm, "Pwd").widget());
            EXPECT_TRUE(users().isEmpty());
        } else {
            EXPECT_TRUE(kit.boxes().empty());
            EXPECT_FALSE(kit.isOpen(kForm));
            EXPECT_EQ(response, RequestCompleted);
            EXPECT_EQ(users(), QStringList{"Dora=abc"});
        }
    }
}

TEST(UserFr, NewUserStartsWithCurrentUser)
{
    WindowKit kit;
    CurrentUser = "Anna Log";
    kit.call(makeUserFr({}), InsertRecord);
    EXPECT_EQ(kit.window(kForm).window().windowTitle(), "Adding User");
    EXPECT_EQ(kit.text(kForm, "Name"), "Anna Log");
    fill(kit, QString(), "pw", "pw");
    EXPECT_EQ(users(), QStringList{"Anna Log=pw"});
    CurrentUser.clear();
}

TEST(UserFr, DuplicateNameOrPasswordRefused)
{
    WindowKit kit;
    addUser("Anna", "secret");
    kit.call(makeUserFr({}), InsertRecord);
    struct Case {
        const char* name;
        const char* pwd;
        const char* key;
    };
    // Both keys ignore letter case.
    for (const Case& c : {Case{"ANNA", "other", "Name Key"}, Case{"Bert", "SECRET", "Password key"}}) {
        SCOPED_TRACE(c.key);
        fill(kit, c.name, c.pwd, c.pwd);
        ASSERT_EQ(kit.boxes().size(), 1u);
        EXPECT_EQ(kit.boxes()[0].caption, "Duplicate Key Error");
        EXPECT_EQ(kit.boxes()[0].text, QString("Adding this record creates a duplicate entry for the key: ") + c.key);
        EXPECT_TRUE(kit.isOpen(kForm));
    }
    fill(kit, "Bert", "bert1", "bert1");
    EXPECT_FALSE(kit.isOpen(kForm));
    EXPECT_EQ(users(), (QStringList{"Anna=secret", "Bert=bert1"}));
}

TEST(UserBr, InsertChangeDeleteThroughTheForm)
{
    WindowKit kit;
    addUser("Carl", "c1");
    addUser("Anna", "a1");
    const QString br = "UserBr";
    kit.start([] { return makeUserBr({}); });
    ASSERT_TRUE(kit.isOpen(br));
    EXPECT_EQ(kit.window(br).window().windowTitle(), "Browse Users");
    ASSERT_EQ(kit.rows(br), 2);
    EXPECT_EQ(kit.cell(br, 0, 0), "Anna");
    EXPECT_EQ(kit.cell(br, 1, 0), "Carl");

    kit.press(br, "Insert");
    ASSERT_TRUE(kit.isOpen(kForm));
    EXPECT_EQ(kit.window(kForm).window().windowTitle(), "Adding User");
    fill(kit, "Bea", "b1", "b1");
    EXPECT_FALSE(kit.isOpen(kForm));
    ASSERT_EQ(kit.rows(br), 3);
    EXPECT_EQ(kit.cell(br, 1, 0), "Bea");

    kit.highlight(br, 1);
    kit.press(br, "Change");
    ASSERT_TRUE(kit.isOpen(kForm));
    EXPECT_EQ(kit.window(kForm).window().windowTitle(), "Changing User");
    EXPECT_EQ(kit.text(kForm, "Name"), "Bea");
    EXPECT_EQ(kit.text(kForm, "Pwd"), "") << "the file keeps no password to show";
    kit.replaceText(kForm, "Name", "Bella");
    kit.tab(kForm);
    fill(kit, QString(), "b2", "b2");  // a new password, typed twice
    EXPECT_TRUE(kit.boxes().empty());
    EXPECT_FALSE(kit.isOpen(kForm));
    EXPECT_EQ(kit.cell(br, 1, 0), "Bella");
    EXPECT_EQ(users(), (QStringList{"Anna=a1", "Bella=b2", "Carl=c1"}));

    // A delete, too, needs the password repeated.
    kit.highlight(br, 1);
    kit.press(br, "Delete");
    ASSERT_TRUE(kit.isOpen(kForm));
    EXPECT_EQ(kit.window(kForm).window().windowTitle(), "Deleting User");
    kit.clearBoxes();
    kit.press(kForm, "OK");
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_EQ(kit.boxes()[0].text, "Password Mandatory");
    ASSERT_TRUE(kit.isOpen(kForm));
    // Only the user's own password deletes the user.
    fill(kit, QString(), "b1", "b1");
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_EQ(kit.boxes()[0].text, "Incorrect Password");
    ASSERT_TRUE(kit.isOpen(kForm));
    fill(kit, QString(), "B2", "B2");  // letter case does not count, as in the log-in
    EXPECT_FALSE(kit.isOpen(kForm));
    EXPECT_EQ(kit.rows(br), 2);
    EXPECT_EQ(users(), (QStringList{"Anna=a1", "Carl=c1"}));
}

TEST(ShutDownWnd, ButtonsGoThroughTheSession)
{
    struct Case {
        const char* button;
        bool refused;
        std::vector<SessionAction> asked;
        const char* shown;  // the box's text; nullptr: no box
    };
    const Case cases[] = {
        {"Cancel", false, {}, nullptr},
        {"Restart", false, {SessionAction::Restart}, nullptr},
        {"ShutDown", false, {SessionAction::ShutDown}, nullptr},
        {"Restart", true, {SessionAction::Restart}, "ExitWindowsEx(EWX_REBOOT, 0) Error!\nAccess denied"},
        {"ShutDown", true, {SessionAction::ShutDown}, "ExitWindowsEx(EWX_SHUTDOWN, 0) Error\nAccess denied"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.button) + (c.refused ? " refused" : ""));
        WindowKit kit;
        std::vector<SessionAction> asked;
        // The real session manager is never reached, even when a check fails.
        struct Restore {
            ~Restore() { setSessionHandler({}); }
        } restore;
        setSessionHandler([&](SessionAction a, QString* error) {
            asked.push_back(a);
            if (c.refused && error)
                *error = "Access denied";
            return !c.refused;
        });
        kit.start([] { return makeShutDownWnd({}); });
        ASSERT_TRUE(kit.isOpen("ShutDownWnd"));
        EXPECT_EQ(kit.window("ShutDownWnd").window().windowTitle(), "Shut Down Windows?");
        kit.press("ShutDownWnd", c.button);
        EXPECT_EQ(asked, c.asked);
        if (c.shown) {
            ASSERT_EQ(kit.boxes().size(), 1u);
            EXPECT_EQ(kit.boxes()[0].text, c.shown);
            EXPECT_TRUE(kit.boxes()[0].caption.isEmpty());
            EXPECT_EQ(kit.boxes()[0].icon, Icon::None);
        } else {
            EXPECT_TRUE(kit.boxes().empty());
        }
        // The program goes on; only the window closes.
        EXPECT_FALSE(kit.isOpen("ShutDownWnd"));
        EXPECT_FALSE(kit.fatalShown());
    }
}

} // namespace
} // namespace ven::test
